#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

// One unfolded content line of an iCalendar (RFC 5545 3.1) or vCard (RFC 6350 3.2) text.
struct ContentLine {
    // Upper case, without a vCard group prefix; empty for a line that is not a content line.
    QByteArray name;
    // Names upper case; values without their quotes, several values joined by ",".
    std::vector<std::pair<QByteArray, QByteArray>> parameters;
    // As written, escapes kept.
    QByteArray value;
    // The first physical line, counting from 1.
    int line = 0;
    // The folded text in the input, without its line ending.
    qsizetype offset = 0;
    qsizetype length = 0;
    // Why the line is not a content line.
    QString problem;
    // For such a line: the name it begins with (upper case), if any, and whether it holds no ":"
    // at all, as "SUMMARY=text" or text that lost the blank of its fold.
    QByteArray brokenName;
    bool colonless = false;

    // The value of the first parameter of that (upper-case) name; a null array when absent.
    QByteArray parameter(const QByteArray& parameterName) const;
};

// Hands out the content lines of a text one at a time, unfolded and split, each with the number of
// the physical line it starts on. Blank lines are skipped; lines that are not content lines come
// with their problem. A text that breaks a limit or holds binary data ends the reading at that
// line, with problem() set.
class ContentLineReader {
public:
    static constexpr qint64 maximumFileSize = 50LL * 1024 * 1024;
    static constexpr qsizetype maximumLineLength = 1024 * 1024;

    enum class Syntax {
        ICalendar,
        // Allows group prefixes ("item1.BDAY") and parameters without a name ("TEL;HOME").
        VCard,
    };

    // The text must outlive the reader.
    ContentLineReader(const QByteArray& text, Syntax syntax);

    // The next content line; nothing at the end of the text or at a broken limit.
    std::optional<ContentLine> next();
    // Reads on to the end, so that a broken limit further on is known.
    void skipToEnd();

    // Empty unless the reading ended at a broken limit.
    const QString& problem() const { return m_problem; }
    int problemLine() const { return m_problemLine; }

    // Why the text cannot be a file of the syntax's kind: larger than maximumFileSize, blank, or
    // not beginning with the kind's BEGIN line. The line is 0 when the problem is the whole file.
    struct StartProblem {
        int line = 0;
        QString problem;
    };
    static std::optional<StartProblem> startProblem(const QByteArray& text, Syntax syntax);
    // The same for the beginning of a text still arriving: a problem once the text so far can no
    // longer begin with the kind's BEGIN line.
    static std::optional<StartProblem> startProblemSoFar(const QByteArray& beginning, Syntax syntax);
    // How long reading a file that is not a plain file (a pipe, a device) may take in all.
    static constexpr std::chrono::milliseconds readTimeLimit{30'000};
    // The whole file, or nothing with the problem: unreadable, larger than maximumFileSize, not
    // beginning as a file of the syntax's kind (known as soon as its first line arrives), or not
    // read to its end within the time limit.
    static std::optional<QByteArray> readFile(const QString& path, Syntax syntax, QString* problem,
                                              std::chrono::milliseconds timeLimit = readTimeLimit);
    // How the bytes of a text are read: as RFC 5545 3.1.4 asks, or as Latin-1 for the files of
    // older writers that are not UTF-8.
    enum class Encoding { Utf8, Latin1 };
    // TEXT values (RFC 5545 3.3.11, RFC 6350 3.4).
    static QString unescapeText(const QByteArray& value, Encoding encoding = Encoding::Utf8);
    static QString decode(const QByteArray& text, Encoding encoding);
    // At most 80 characters of a text for a message, "…" marking what was cut.
    static QString excerpt(const QByteArray& text);

private:
    // The first non-blank line (after a byte order mark), trimmed, and its number in *lineNumber; 0
    // when the text is blank.
    static QByteArray firstLine(const QByteArray& text, int* lineNumber);
    std::optional<ContentLine> takePending();
    void stop(int line, QString problem);

    const QByteArray& m_text;
    const Syntax m_syntax;
    qsizetype m_position = 0;
    int m_lineNumber = 0;
    // The logical line being unfolded, not handed out yet.
    bool m_hasPending = false;
    QByteArray m_pendingText;
    int m_pendingLine = 0;
    qsizetype m_pendingOffset = 0;
    qsizetype m_pendingLength = 0;
    QString m_problem;
    int m_problemLine = 0;
};
