#include "core/eventstore/ContentLineReader.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A file past ContentLineReader::maximumFileSize.
QString tooLargeProblem() {
    return QStringLiteral("the file is larger than 50 MB");
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

bool isBlankByte(char c) {
    return c == ' ' || c == '\t';
}

// Splits a logical line into name, parameters and value (RFC 5545 3.1 "contentline").
ContentLine splitContentLine(const QByteArray& text, ContentLineReader::Syntax syntax) {
    ContentLine line;
    const qsizetype size = text.size();
    qsizetype i = 0;
    // Some writers put blanks around names ("SUMMARY :x", "DTSTART; TZID=..."); nothing is lost by
    // reading past them.
    auto skipBlanks = [&]() {
        while (i < size && isBlankByte(text[i])) {
            ++i;
        }
    };
    auto readName = [&]() {
        skipBlanks();
        const qsizetype start = i;
        while (i < size && isNameCharacter(text[i])) {
            ++i;
        }
        const QByteArray name = text.mid(start, i - start);
        skipBlanks();
        return name;
    };
    QByteArray name = readName();
    if (syntax == ContentLineReader::Syntax::VCard) {
        while (!name.isEmpty() && i < size && text[i] == '.') {
            ++i;
            name = readName();
        }
    }
    if (name.isEmpty()) {
        line.problem = QStringLiteral("expected a property name at the start of the line");
        return line;
    }
    line.brokenName = name.toUpper();
    while (i < size && text[i] == ';') {
        ++i;
        const QByteArray parameterName = readName().toUpper();
        if (parameterName.isEmpty()) {
            line.problem = QStringLiteral("expected a parameter name after \";\" in %1")
                               .arg(ContentLineReader::excerpt(name));
            return line;
        }
        if (i >= size || text[i] != '=') {
            // vCard 2.1 writes bare types ("TEL;HOME:...").
            if (syntax == ContentLineReader::Syntax::VCard) {
                line.parameters.emplace_back("TYPE", parameterName);
                continue;
            }
            line.problem =
                QStringLiteral("parameter %1 of %2 has no value")
                    .arg(ContentLineReader::excerpt(parameterName), ContentLineReader::excerpt(name));
            return line;
        }
        ++i;
        QByteArray values;
        while (true) {
            if (i < size && text[i] == '"') {
                const qsizetype close = text.indexOf('"', i + 1);
                if (close < 0) {
                    line.problem = QStringLiteral("a quoted value of parameter %1 is not closed")
                                       .arg(ContentLineReader::excerpt(parameterName));
                    return line;
                }
                values += text.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype start = i;
                while (i < size && text[i] != ';' && text[i] != ':' && text[i] != ',' && text[i] != '"') {
                    ++i;
                }
                values += text.mid(start, i - start).trimmed();
            }
            if (i < size && text[i] == ',') {
                values += ',';
                ++i;
                continue;
            }
            break;
        }
        line.parameters.emplace_back(parameterName, values);
    }
    if (i >= size || text[i] != ':') {
        line.parameters.clear();
        line.problem = QStringLiteral("expected \":\" after %1").arg(ContentLineReader::excerpt(name));
        return line;
    }
    line.name = std::exchange(line.brokenName, QByteArray());
    line.value = text.mid(i + 1);
    return line;
}

} // namespace

QByteArray ContentLine::parameter(const QByteArray& parameterName) const {
    for (const auto& [candidate, parameterValue] : parameters) {
        if (candidate == parameterName) {
            // A present but empty value stays distinct from an absent parameter.
            return parameterValue.isNull() ? QByteArray("") : parameterValue;
        }
    }
    return QByteArray();
}

ContentLineReader::ContentLineReader(const QByteArray& text, Syntax syntax)
    : m_text(text), m_syntax(syntax), m_position(text.startsWith("\xEF\xBB\xBF") ? 3 : 0) {}

std::optional<ContentLine> ContentLineReader::next() {
    const char* data = m_text.constData();
    const qsizetype size = m_text.size();
    while (m_problem.isEmpty() && m_position < size) {
        ++m_lineNumber;
        const qsizetype position = m_position;
        qsizetype end = m_text.indexOf('\n', position);
        if (end < 0) {
            end = size;
        }
        qsizetype contentEnd = end;
        if (contentEnd > position && data[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        const qsizetype length = contentEnd - position;
        m_position = end < size ? end + 1 : size;
        if (length > maximumLineLength) {
            stop(m_lineNumber, QStringLiteral("the line is longer than 1 MB"));
            break;
        }
        if (std::memchr(data + position, 0, size_t(length))) {
            stop(m_lineNumber, QStringLiteral("the line holds binary data (a NUL byte)"));
            break;
        }
        if (length == 0) {
            if (m_hasPending) {
                return takePending();
            }
        } else if (data[position] == ' ' || data[position] == '\t') {
            if (!m_hasPending) {
                ContentLine line;
                line.line = m_lineNumber;
                line.offset = position;
                line.length = length;
                line.problem = QStringLiteral("a folded line continues no line");
                return line;
            }
            m_pendingText.append(data + position + 1, length - 1);
            m_pendingLength = contentEnd - m_pendingOffset;
            if (m_pendingText.size() > maximumLineLength) {
                stop(m_pendingLine, QStringLiteral("the line is longer than 1 MB"));
                break;
            }
        } else {
            std::optional<ContentLine> finished = takePending();
            m_hasPending = true;
            m_pendingText = QByteArray(data + position, length);
            m_pendingLine = m_lineNumber;
            m_pendingOffset = position;
            m_pendingLength = length;
            if (finished) {
                return finished;
            }
        }
    }
    if (!m_problem.isEmpty()) {
        return std::nullopt;
    }
    return takePending();
}

void ContentLineReader::skipToEnd() {
    while (next()) {
    }
}

std::optional<ContentLine> ContentLineReader::takePending() {
    if (!m_hasPending) {
        return std::nullopt;
    }
    m_hasPending = false;
    ContentLine line = splitContentLine(m_pendingText, m_syntax);
    if (!line.problem.isEmpty()) {
        line.colonless = !m_pendingText.contains(':');
    }
    line.line = m_pendingLine;
    line.offset = m_pendingOffset;
    line.length = m_pendingLength;
    return line;
}

void ContentLineReader::stop(int line, QString problem) {
    m_problemLine = line;
    m_problem = std::move(problem);
    m_hasPending = false;
    m_pendingText.clear();
}

QByteArray ContentLineReader::firstLine(const QByteArray& text, int* lineNumber) {
    qsizetype position = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int number = 0;
    while (position < text.size()) {
        ++number;
        qsizetype end = text.indexOf('\n', position);
        if (end < 0) {
            end = text.size();
        }
        const QByteArray content = text.mid(position, std::min(end - position, maximumLineLength)).trimmed();
        if (!content.isEmpty()) {
            *lineNumber = number;
            return content;
        }
        position = end + 1;
    }
    *lineNumber = 0;
    return QByteArray();
}

std::optional<ContentLineReader::StartProblem> ContentLineReader::startProblem(const QByteArray& text,
                                                                               Syntax syntax) {
    if (text.size() > maximumFileSize) {
        return StartProblem{0, tooLargeProblem()};
    }
    int first = 0;
    const QByteArray firstContent = firstLine(text, &first);
    if (first == 0) {
        return StartProblem{0, QStringLiteral("the file is empty")};
    }
    const bool calendar = syntax == Syntax::ICalendar;
    const QByteArray begin =
        calendar ? QByteArrayLiteral("BEGIN:VCALENDAR") : QByteArrayLiteral("BEGIN:VCARD");
    if (firstContent.compare(begin, Qt::CaseInsensitive) != 0) {
        return StartProblem{first,
                            QStringLiteral("not %1 file (it does not begin with %2)")
                                .arg(calendar ? QStringLiteral("an iCalendar") : QStringLiteral("a vCard"),
                                     QString::fromLatin1(begin))};
    }
    return std::nullopt;
}

std::optional<ContentLineReader::StartProblem>
ContentLineReader::startProblemSoFar(const QByteArray& beginning, Syntax syntax) {
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    if (beginning.size() < byteOrderMark.size() && byteOrderMark.startsWith(beginning)) {
        return std::nullopt;
    }
    int first = 0;
    const QByteArray content = firstLine(beginning, &first);
    if (first == 0) {
        return std::nullopt;
    }
    qsizetype start = beginning.startsWith(byteOrderMark) ? byteOrderMark.size() : 0;
    while (start < beginning.size() && std::strchr(" \t\r\n", beginning[start]) != nullptr) {
        ++start;
    }
    const bool lineComplete = beginning.indexOf('\n', start) >= 0;
    const QByteArray begin =
        syntax == Syntax::ICalendar ? QByteArrayLiteral("BEGIN:VCALENDAR") : QByteArrayLiteral("BEGIN:VCARD");
    const bool mayStillBegin = content.size() <= begin.size() &&
                               begin.left(content.size()).compare(content, Qt::CaseInsensitive) == 0;
    if (!lineComplete && mayStillBegin) {
        return std::nullopt;
    }
    return startProblem(beginning, syntax);
}

namespace {

std::optional<QByteArray> refuseRead(QString* problem, QString text) {
    if (problem) {
        *problem = std::move(text);
    }
    return std::nullopt;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

std::optional<QByteArray> readPlainFile(const QString& path, QString* problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return refuseRead(problem, QStringLiteral("cannot open the file: %1").arg(file.errorString()));
    }
    if (file.size() > ContentLineReader::maximumFileSize) {
        return refuseRead(problem, tooLargeProblem());
    }
    // Files that do not know their size (/proc) are read up to one byte over the limit.
    QByteArray text = file.read(ContentLineReader::maximumFileSize + 1);
    if (text.size() > ContentLineReader::maximumFileSize) {
        return refuseRead(problem, tooLargeProblem());
    }
    return text;
}

// A pipe or device: its bytes come when its writer sends them, so the wait is bounded in time and
// the beginning is checked as soon as it arrives.
std::optional<QByteArray> readStream(int descriptor, ContentLineReader::Syntax syntax, QString* problem,
                                     std::chrono::milliseconds timeLimit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeLimit;
    QByteArray text;
    std::array<char, 64 * 1024> buffer{};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return refuseRead(problem, QStringLiteral("the file did not end within %1 seconds")
                                           .arg(QString::number(double(timeLimit.count()) / 1000.0)));
        }
        pollfd wait{descriptor, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            return refuseRead(problem, QStringLiteral("cannot read the file: %1").arg(systemError(errno)));
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t count = ::read(descriptor, buffer.data(), buffer.size());
        if (count < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return refuseRead(problem, QStringLiteral("cannot read the file: %1").arg(systemError(errno)));
        }
        if (count == 0) {
            return text;
        }
        text.append(buffer.data(), count);
        if (text.size() > ContentLineReader::maximumFileSize) {
            return refuseRead(problem, tooLargeProblem());
        }
        if (const auto start = ContentLineReader::startProblemSoFar(text, syntax)) {
            return refuseRead(problem, start->problem);
        }
    }
}

} // namespace

std::optional<QByteArray> ContentLineReader::readFile(const QString& path, Syntax syntax, QString* problem,
                                                      std::chrono::milliseconds timeLimit) {
    // Opened without waiting: a pipe without a writer would otherwise hold the open forever.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return refuseRead(problem, QStringLiteral("cannot open the file: %1").arg(systemError(errno)));
    }
    struct stat status {};
    const bool plain = ::fstat(descriptor, &status) == 0 && !S_ISFIFO(status.st_mode) &&
                       !S_ISCHR(status.st_mode) && !S_ISSOCK(status.st_mode);
    if (plain) {
        ::close(descriptor);
        return readPlainFile(path, problem);
    }
    std::optional<QByteArray> text = readStream(descriptor, syntax, problem, timeLimit);
    ::close(descriptor);
    return text;
}

QString ContentLineReader::unescapeText(const QByteArray& value, Encoding encoding) {
    QByteArray text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char escaped = value[++i];
            switch (escaped) {
            case 'n':
            case 'N':
                text += '\n';
                break;
            case '\\':
            case ';':
            case ',':
            case ':':
            case '"':
                text += escaped;
                break;
            default:
                // Not an escape RFC 5545 knows: kept as written.
                text += '\\';
                text += escaped;
                break;
            }
        } else {
            text += c;
        }
    }
    return decode(text, encoding);
}

QString ContentLineReader::excerpt(const QByteArray& text) {
    constexpr qsizetype longest = 80;
    return text.size() > longest ? QString::fromUtf8(text.left(longest)) + QStringLiteral("…")
                                 : QString::fromUtf8(text);
}

QString ContentLineReader::decode(const QByteArray& text, Encoding encoding) {
    return encoding == Encoding::Latin1 ? QString::fromLatin1(text) : QString::fromUtf8(text);
}
