#pragma once
// Every failure in the program is an AppError: a number and a description,
// like the errors the original runtime raised. Number 19001 marks an error
// that has been shown to the user already, so no caller shows it again.
#include <QString>
#include <exception>
#include <string>

constexpr int kErrAlreadyReported = 19001;

class AppError : public std::exception {
public:
    AppError(int number, QString description)
        : m_number(number), m_description(std::move(description)), m_what(m_description.toStdString())
    {}
    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    std::string m_what;
};

// Error numbers of our own (the database engine uses 3000-3999).
namespace ErrNo {
constexpr int Internal = 5;       // unexpected failure of our own code
constexpr int FileAccess = 75;    // a file or folder that cannot be written
constexpr int ObjectNotSet = 91;  // use of a closed or never opened object
constexpr int AppDefined = 19001; // see kErrAlreadyReported
} // namespace ErrNo
