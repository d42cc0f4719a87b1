// The program's one error type: a failure that a handler does not handle itself.
// It carries only its message; the guard shows it in the error box.
#pragma once

#include <QString>
#include <exception>

class AppError : public std::exception
{
public:
    explicit AppError(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
