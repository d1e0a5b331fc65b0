#pragma once

#include <QString>
#include <stdexcept>

// An error that stops the operation in progress. Its text is shown to the user as it stands.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// Raised by the database layer: a bad statement, a refused value, a missing file.
class DbError : public AppError {
public:
    using AppError::AppError;
};

// Raised when a text cannot be read as a number.
class ConversionError : public AppError {
public:
    using AppError::AppError;
};

// Raised when a report could not be handed to the printer.
class PrintError : public AppError {
public:
    using AppError::AppError;
};

// Raised when the printer may or may not have printed the report: the connection dropped after the
// page went out, or the printer stopped answering. Only the paper can tell.
class PrintDoubt : public PrintError {
public:
    using PrintError::PrintError;
};
