#pragma once
// The one error type of the system: a number from the classic runtime's
// numbering and a Japanese description. Handlers catch it and either stay
// silent or show the number and the description, as each handler requires.

#include <QString>
#include <exception>
#include <string>

class K40Error : public std::exception {
public:
    // Well-known numbers.
    enum : int {
        InvalidCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        BadFileName = 52,
        FileNotFound = 53,
        DeviceIoError = 57,
        InputPastEnd = 62,
        PathFileAccessError = 75,
        PathNotFound = 76,
        InvalidPropertyValue = 380,
        InvalidPicture = 481,
    };

    // An error with the standard description of its number.
    explicit K40Error(int number);
    // An error with a description of its own.
    K40Error(int number, const QString& description);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

    // The standard description of a number; for a number without one, a
    // generic text naming the number.
    static QString standardDescription(int number);

private:
    int number_;
    QString description_;
    std::string what_;
};
