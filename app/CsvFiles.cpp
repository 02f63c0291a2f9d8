#include "CsvFiles.h"

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

namespace
{
// One CSV record's fields, from @p pos; moves @p pos past the record and counts the lines it
// spans (a quoted field may hold line breaks).
QList<QByteArray> nextRecord(const QByteArray &bytes, qsizetype &pos, int &lines)
{
    QList<QByteArray> fields;
    QByteArray field;
    bool quoted = false;
    lines = 1;
    while (pos < bytes.size()) {
        const char c = bytes[pos++];
        if (quoted) {
            if (c == '"' && pos < bytes.size() && bytes[pos] == '"') {
                field += '"';
                ++pos;
            } else if (c == '"') {
                quoted = false;
            } else {
                lines += c == '\n' ? 1 : 0;
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields << field;
            field.clear();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            field += c;
        }
    }
    fields << field;
    return fields;
}
} // namespace

ref::ReadResult readCsv(const QByteArray &bytes, const ref::LotteryShape &shape)
{
    // Each record becomes a line of a text draw file at the same line number, so that the
    // text reader's checks and messages serve both; a record of many lines leaves empty
    // lines behind it, which the text reader skips.
    QByteArray text;
    text.reserve(bytes.size());
    qsizetype pos = 0;
    int lines = 0;
    nextRecord(bytes, pos, lines); // the header
    text.append(QByteArray(lines, '\n'));
    while (pos < bytes.size()) {
        const QList<QByteArray> fields = nextRecord(bytes, pos, lines);
        for (qsizetype f = 0; f < fields.size(); ++f) {
            if (f > 0)
                text += shape.bonus && f == fields.size() - shape.bonuses() ? " + " : " ";
            // A field's own blanks or separators would split it: such a field is bad anyway,
            // and its line breaks must not start a line of their own.
            QByteArray field = fields[f].trimmed();
            field.replace('\n', ' ').replace('\r', ' ');
            text += field;
        }
        text.append(QByteArray(lines, '\n'));
    }
    return ref::readTextDraws(text, shape);
}

} // namespace qrt::app
