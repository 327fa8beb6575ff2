#include "core/RegFileKey.h"

#include "core/RegistryTypes.h"
#include "core/TextCodec.h"

#include <QFile>

namespace {

// Only the start of a file is read: the first key line follows the header.
constexpr qint64 kMaxHeadBytes = 1024 * 1024;

// Cuts a partly read file after its last complete line, so that a character
// cut in two at the end cannot change how the rest decodes.
QByteArray CompleteLines(QByteArray head) {
    const bool utf16 = head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF");
    for (qsizetype i = head.size() - 1; i >= 0; --i) {
        if (head[i] != '\n')
            continue;
        if (!utf16)
            return head.left(i + 1);
        // In UTF-16 a line feed is a whole code unit on an even offset.
        const bool le = head.startsWith("\xFF\xFE");
        const qsizetype unit = le ? i : i - 1;
        const qsizetype high = le ? i + 1 : i - 1;
        if (unit >= 0 && unit % 2 == 0 && high < head.size() && head[high] == '\0')
            return head.left(unit + 2);
    }
    return QByteArray();
}

// Looks for the first key line in the text: true when one was found, with
// its key (empty when the line is malformed).
bool FirstKeyLine(const QString& text, QString* key) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).mid(start, end - start);
        if (line.endsWith(u'\r'))
            line.chop(1);
        qsizetype first = 0;
        while (first < line.size() && (line[first] == u' ' || line[first] == u'\t'))
            ++first;
        if (first < line.size() && line[first] == u'[') {
            const qsizetype close = line.lastIndexOf(u']');
            *key = close > first ? line.mid(first + 1, close - first - 1).toString() : QString();
            return true;
        }
        start = end + 1;
    }
    return false;
}

} // namespace

QString ReadRegFileKey(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    // The key line is near the start: read a little, and more only when needed.
    QByteArray head;
    qint64 want = 4096;
    for (;;) {
        head += in.read(want - head.size());
        const bool whole = in.atEnd();
        QString key;
        if (FirstKeyLine(DecodeTextFile(whole ? head : CompleteLines(head)), &key))
            return key;
        if (whole || head.size() >= kMaxHeadBytes)
            return QString();
        want = std::min(want * 8, kMaxHeadBytes);
    }
}

bool SameKeyPath(const QString& a, const QString& b) {
    const std::optional<KeyPath> left = ParseFullKeyPath(a);
    const std::optional<KeyPath> right = ParseFullKeyPath(b);
    if (!left || !right || left->root != right->root || left->names.size() != right->names.size())
        return false;
    for (qsizetype i = 0; i < left->names.size(); ++i)
        if (FoldName(left->names[i]) != FoldName(right->names[i]))
            return false;
    return true;
}

bool RegFileHoldsKey(const QString& file, const QString& fullKeyPath) {
    const QString key = ReadRegFileKey(file);
    return !key.isEmpty() && SameKeyPath(key, fullKeyPath);
}
