#pragma once
// The GTFS-JP commands of the hy3 tool: the routes of a feed, and one of
// them imported as <number>.hy3 and <number>tp.csv. A feed is a .zip file or
// a folder of its .txt files.

#include "model/Gtfs.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace Hy3Gtfs {

// hy3 list-gtfs <feed>
int list(const QString& feed, QTextStream& out, QTextStream& err);
// hy3 import-gtfs <feed> --route <r> [--direction 0|1] [--trip <t>] [--flat-fare <yen>]
//                 --number <n> --out <folder>
int import(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace Hy3Gtfs
