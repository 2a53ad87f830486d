#include "model/K40Error.h"

K40Error::K40Error(int number) : K40Error(number, standardDescription(number)) {}

K40Error::K40Error(int number, const QString& description)
    : number_(number), description_(description),
      what_(QString::number(number).toStdString() + ": " + description.toStdString()) {}

QString K40Error::standardDescription(int number) {
    switch (number) {
    case InvalidCall: return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case Overflow: return QStringLiteral("オーバーフローしました。");
    case OutOfMemory: return QStringLiteral("メモリが不足しています。");
    case SubscriptOutOfRange: return QStringLiteral("インデックスが有効範囲にありません。");
    case TypeMismatch: return QStringLiteral("型が一致しません。");
    case BadFileName: return QStringLiteral("ファイル名または番号が不正です。");
    case FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case DeviceIoError: return QStringLiteral("デバイス I/O エラーです。");
    case InputPastEnd: return QStringLiteral("ファイルにこれ以上データがありません。");
    case PathFileAccessError: return QStringLiteral("パス名が無効です。");
    case PathNotFound: return QStringLiteral("パスが見つかりません。");
    case InvalidPropertyValue: return QStringLiteral("プロパティの値が不正です。");
    case InvalidPicture: return QStringLiteral("ピクチャが不正です。");
    default: return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。(%1)").arg(number);
    }
}
