#pragma once
// The runtime's one error type: a number, a source and a description, raised by any
// procedure and trapped by callers that ignore errors step by step.
#include <QString>
#include <exception>
#include <string>

namespace vb {

class VBError : public std::exception {
public:
    VBError(long number, QString source, QString description)
        : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
          m_what(QStringLiteral("%1 (%2): %3").arg(number).arg(m_source, m_description).toStdString()) {}
    long Number() const { return m_number; }
    const QString& Source() const { return m_source; }
    const QString& Description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    long m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};

// The runtime's own text of a run-time error number (1 to 1000); numbers it has no text for
// read as application-defined.
QString ErrorText(long number);

// The executable's name without extension; error sources are built from it.
QString AppExeName();
void SetAppExeName(const QString& name);

// Runs one step with the runtime's errors ignored, as the many "a step that fails is skipped"
// procedures do. Only numbered errors are skipped: any other exception is a fault of the program
// and goes on up, and so does the end of the program.
template <class F>
void Try(F&& step) {
    try {
        step();
    } catch (const VBError&) {
    }
}

} // namespace vb
