#include "CsvFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace qrt::app
{

QByteArray formatCsv(const ref::DrawList &draws)
{
    QByteArray out = "issue";
    for (int j = 1; j <= draws.total(); ++j)
        out += ",n" + QByteArray::number(j);
    for (int k = 1; k <= draws.bonusCount(); ++k)
        out += k == 1 ? ",bonus" : ",bonus" + QByteArray::number(k);
    out += "\r\n";
    // The text draw file has the same fields in the same order; only the separators differ.
    const QByteArray lines = ref::formatTextDraws(draws);
    out.reserve(out.size() + lines.size() + draws.size());
    for (const char c : lines) {
        if (c == ' ')
            out += ',';
        else if (c == '+')
            continue; // " + " became ",,": the second comma is dropped below
        else if (c == '\n')
            out += "\r\n";
        else
            out += c;
    }
    out.replace(",,", ",");
    return out;
}

ref::ReadResult readCsv(QByteArray bytes, const ref::LotteryShape &shape)
{
    // Each record becomes a line of a text draw file at the same line number, so that the
    // text reader's checks and messages serve both. The line is written over the record in
    // place: dropping quotes and CRs only shrinks it and the last comma turns into the "+"
    // before the bonus, so no copy of the file is made. A record too long for a draw, or
    // spread over lines by a quoted line break, is a bad line named here and leaves only its
    // line breaks, which the text reader skips.
    const qsizetype maxLine = ref::maxDrawLineBytes(shape);
    std::vector<ref::ReadError> bad;
    qsizetype unlisted = 0;
    auto refuse = [&](int line, auto &&why) {
        if (bad.size() < 100)
            bad.push_back({line, why()});
        else
            ++unlisted;
    };
    char *const data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype in = 0;
    qsizetype out = 0;
    int line = 1;
    for (bool header = true; in < size; header = false) {
        const qsizetype recordIn = in;
        const qsizetype recordOut = out;
        // The commas before the last two fields: the one before the record's bonus numbers
        // turns into the "+".
        qsizetype commas[2] = {-1, -1};
        int lines = 1;
        bool quoted = false;
        bool ended = false;
        while (in < size) {
            const char c = data[in++];
            if (quoted) {
                if (c == '"' && in < size && data[in] == '"') {
                    data[out++] = '"';
                    ++in;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    // A field's own line breaks must not start a line of their own.
                    lines += c == '\n' ? 1 : 0;
                    data[out++] = c == '\n' || c == '\r' ? ' ' : c;
                }
            } else if (c == '"') {
                quoted = true;
            } else if (c == '\n') {
                ended = true;
                break;
            } else if (c != '\r') {
                if (c == ',')
                    commas[0] = std::exchange(commas[1], out);
                data[out++] = c;
            }
        }
        const qsizetype length = in - recordIn - (ended ? 1 : 0);
        const bool keep = !header && length <= maxLine && lines == 1;
        if (!header && length > maxLine)
            refuse(line, [&] {
                return QCoreApplication::translate(
                           "CsvFiles", "the line is %1 bytes long; a draw line holds at most %2")
                    .arg(length)
                    .arg(maxLine);
            });
        else if (!header && lines > 1)
            refuse(line, [&] {
                return QCoreApplication::translate(
                    "CsvFiles", "a quoted field holds a line break: a draw is one line");
            });
        if (!keep)
            out = recordOut;
        else if (shape.bonus && commas[2 - shape.bonuses()] >= 0)
            data[commas[2 - shape.bonuses()]] = '+';
        // Only breaks the record held are written back, so the line never outgrows it.
        for (int k = ended ? 0 : 1; k < lines; ++k)
            data[out++] = '\n';
        line += lines;
    }
    bytes.truncate(out);
    ref::ReadResult r = ref::readTextDraws(bytes, shape);
    r.addErrors(std::move(bad), unlisted);
    return r;
}

QString csvFileName(const QString &typed)
{
    if (typed.isEmpty() || !QFileInfo(typed).suffix().isEmpty())
        return typed;
    return typed + QStringLiteral(".csv");
}

} // namespace qrt::app
