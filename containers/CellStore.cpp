#include "CellStore.h"

#include <cstring>

namespace qrt
{

namespace
{

enum : uint8_t { kLatin1 = 0, kUtf16 = 1 };

size_t varintSize(uint32_t v)
{
    size_t n = 1;
    for (; v >= 0x80; v >>= 7)
        ++n;
    return n;
}

uint8_t *putVarintAt(uint8_t *out, uint32_t v)
{
    while (v >= 0x80) {
        *out++ = uint8_t(v | 0x80);
        v >>= 7;
    }
    *out++ = uint8_t(v);
    return out;
}

template <typename Bytes> void putVarint(Bytes &out, uint32_t v)
{
    uint8_t bytes[5];
    const uint8_t *end = putVarintAt(bytes, v);
    for (const uint8_t *p = bytes; p < end; ++p)
        out.push_back(*p);
}

uint32_t getVarint(const uint8_t *&p)
{
    uint32_t v = 0;
    int shift = 0;
    while (*p & 0x80) {
        v |= uint32_t(*p++ & 0x7F) << shift;
        shift += 7;
    }
    v |= uint32_t(*p++) << shift;
    return v;
}

bool needsWide(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return true;
    return false;
}

// Writes @p text's characters in a row's encoding; Latin-1 only for a text that fits it.
void writeChars(uint8_t *dst, QStringView text, bool wide)
{
    if (wide) {
        if (!text.isEmpty())
            std::memcpy(dst, text.utf16(), size_t(text.size()) * 2);
        return;
    }
    for (QChar ch : text)
        *dst++ = uint8_t(ch.unicode());
}

// Where a cell's characters lie in its row's blob; chars is null when the row ends before
// the cell, which is then empty.
struct CellAt {
    const uint8_t *chars = nullptr;
    uint32_t len = 0;
    bool wide = false;
    uint32_t count = 0; // of cells in the row
};

CellAt locate(const uint8_t *blob, int col)
{
    CellAt at;
    const uint8_t *p = blob;
    at.wide = *p++ == kUtf16;
    const uint32_t count = getVarint(p);
    at.count = count;
    if (uint32_t(col) >= count)
        return at;
    const size_t unit = at.wide ? 2 : 1;
    for (int c = 0; c < col; ++c)
        p += getVarint(p) * unit;
    at.len = getVarint(p);
    at.chars = p;
    return at;
}

} // namespace

CellStore::CellStore(size_t compactAt) : m_compactAt(compactAt)
{
    m_pool.push_back(0); // offset 0 is reserved for "empty row"
}

void CellStore::setRows(int rows)
{
    ++m_generation;
    const int old = this->rows();
    for (int r = rows; r < old; ++r)
        release(m_ref[size_t(r)]);
    m_ref.resize(size_t(rows));
    compactIfWasteful();
}

void CellStore::setCols(int cols)
{
    ++m_generation;
    if (cols < m_cols) {
        for (size_t r = 0; r < m_ref.size(); ++r) {
            if (m_ref[r] == 0)
                continue;
            std::vector<QString> cells = decodeRow(m_ref[r]);
            if (int(cells.size()) <= cols)
                continue;
            cells.resize(size_t(cols));
            release(m_ref[r]);
            m_ref[r] = appendRow(cells);
        }
    }
    m_cols = cols;
    compactIfWasteful();
}

// Reading a row left to right, as the rules, a save and a copy do, walks the row once: the
// cell after the one read last starts where that one ended. Any change to the store forgets
// the place.
CellStore::Located CellStore::locateForReading(uint32_t offset, int col) const
{
    const uint8_t *pool = m_pool.data();
    CellAt at;
    if (m_cursor.generation == m_generation && m_cursor.offset == offset && m_cursor.col == col) {
        const uint8_t *p = pool + m_cursor.pos;
        at.wide = pool[offset] == kUtf16;
        at.count = m_cursor.count;
        at.len = getVarint(p);
        at.chars = p;
    } else {
        at = locate(pool + offset, col);
    }
    if (at.chars && uint32_t(col) + 1 < at.count)
        m_cursor = {m_generation, offset, col + 1, at.count,
                    uint32_t(at.chars + size_t(at.len) * (at.wide ? 2 : 1) - pool)};
    return {at.chars, at.len, at.wide};
}

QString CellStore::text(int row, int col) const
{
    const uint32_t off = m_ref[size_t(row)];
    if (off == 0)
        return QString();
    const Located at = locateForReading(off, col);
    if (!at.chars)
        return QString();
    if (!at.wide)
        return QString::fromLatin1(reinterpret_cast<const char *>(at.chars), qsizetype(at.len));
    QString s(qsizetype(at.len), Qt::Uninitialized);
    std::memcpy(s.data(), at.chars, size_t(at.len) * 2);
    return s;
}

std::vector<QString> CellStore::decodeRow(uint32_t offset) const
{
    std::vector<QString> cells;
    if (offset == 0)
        return cells;
    const uint8_t *p = m_pool.data() + offset;
    const uint8_t enc = *p++;
    const uint32_t count = getVarint(p);
    cells.reserve(count);
    for (uint32_t c = 0; c < count; ++c) {
        const uint32_t len = getVarint(p);
        if (enc == kLatin1) {
            cells.push_back(QString::fromLatin1(reinterpret_cast<const char *>(p), qsizetype(len)));
            p += len;
        } else {
            QString s(qsizetype(len), Qt::Uninitialized);
            std::memcpy(s.data(), p, size_t(len) * 2);
            cells.push_back(std::move(s));
            p += size_t(len) * 2;
        }
    }
    return cells;
}

size_t CellStore::blobSize(uint32_t offset) const
{
    const uint8_t *start = m_pool.data() + offset;
    const uint8_t *p = start;
    const size_t unit = *p++ == kUtf16 ? 2 : 1;
    const uint32_t count = getVarint(p);
    for (uint32_t c = 0; c < count; ++c)
        p += getVarint(p) * unit;
    return size_t(p - start);
}

void CellStore::release(uint32_t offset)
{
    if (offset != 0)
        release(offset, blobSize(offset));
}

void CellStore::release(uint32_t offset, size_t size)
{
    if (offset + size == m_pool.size())
        m_pool.truncate(offset); // the newest blob: give the bytes straight back
    else
        m_garbage += size;
}

// The blob of a row of @p count cells (the last one not empty), cell c being cellAt(c).
template <typename CellText>
uint32_t CellStore::appendBlob(uint32_t count, CellText &&cellAt, int wideKnown)
{
    Q_ASSERT(wideKnown >= -1 && wideKnown <= 1);
    Q_ASSERT(count == 0 || !cellAt(count - 1).isEmpty());
    bool wide = wideKnown > 0;
    if (wideKnown < 0)
        for (uint32_t c = 0; c < count && !wide; ++c)
            wide = needsWide(cellAt(c));
    // Sized first and written in one go: a row of a load is appended a million times.
    size_t bytes = 1 + varintSize(count);
    for (uint32_t c = 0; c < count; ++c) {
        const auto len = uint32_t(cellAt(c).size());
        bytes += varintSize(len) + size_t(len) * (wide ? 2 : 1);
    }
    const auto offset = uint32_t(m_pool.size());
    uint8_t *out = m_pool.extend(bytes);
    *out++ = wide ? kUtf16 : kLatin1;
    out = putVarintAt(out, count);
    for (uint32_t c = 0; c < count; ++c) {
        const QStringView text = cellAt(c);
        out = putVarintAt(out, uint32_t(text.size()));
        writeChars(out, text, wide);
        out += size_t(text.size()) * (wide ? 2 : 1);
    }
    return offset;
}

bool CellStore::needsWideSpans(const char16_t *text, uint32_t count) const
{
    for (uint32_t c = 0; c < count; ++c)
        if (needsWide(QStringView(text + m_spans[c].pos, qsizetype(m_spans[c].len))))
            return true;
    return false;
}

uint32_t CellStore::appendRow(const std::vector<QString> &cells)
{
    size_t count = cells.size();
    while (count > 0 && cells[count - 1].isEmpty())
        --count;
    if (count == 0)
        return 0;
    return appendBlob(uint32_t(count), [&](uint32_t c) { return QStringView(cells[c]); });
}

// Builds the row's new blob from the old one with one cell replaced, copying the other cells
// as bytes: typing or loading a cell costs no string per neighbouring cell.
void CellStore::setText(int row, int col, QStringView text)
{
    ++m_generation;
    uint32_t &ref = m_ref[size_t(row)];
    if (ref != 0 && (overwriteInPlace(ref, col, text) || appendAtPoolEnd(ref, col, text)))
        return;
    m_spans.clear();
    bool wide = false;
    size_t oldSize = 0;
    if (ref != 0) {
        const uint8_t *start = m_pool.data() + ref;
        const uint8_t *p = start;
        wide = *p++ == kUtf16;
        const uint32_t count = getVarint(p);
        for (uint32_t c = 0; c < count; ++c) {
            const uint32_t len = getVarint(p);
            m_spans.push_back({uint32_t(p - m_pool.data()), len});
            p += size_t(len) * (wide ? 2 : 1);
        }
        oldSize = size_t(p - start);
    }
    const auto oldCount = uint32_t(m_spans.size());
    if (uint32_t(col) >= oldCount && text.isEmpty())
        return;
    const bool oldWide = wide;
    wide = wide || needsWide(text);
    uint32_t count = std::max(oldCount, uint32_t(col) + 1);
    auto length = [&](uint32_t c) {
        return c == uint32_t(col) ? uint32_t(text.size()) : c < oldCount ? m_spans[c].len : 0;
    };
    while (count > 0 && length(count - 1) == 0)
        --count;

    m_scratch.clear();
    m_scratch.push_back(wide ? kUtf16 : kLatin1);
    putVarint(m_scratch, count);
    for (uint32_t c = 0; c < count; ++c) {
        const uint32_t len = length(c);
        putVarint(m_scratch, len);
        if (c == uint32_t(col)) {
            for (QChar ch : text) {
                m_scratch.push_back(uint8_t(ch.unicode() & 0xFF));
                if (wide)
                    m_scratch.push_back(uint8_t(ch.unicode() >> 8));
            }
        } else if (c < oldCount) {
            const uint8_t *src = m_pool.data() + m_spans[c].pos;
            if (wide == oldWide) {
                m_scratch.insert(m_scratch.end(), src, src + size_t(len) * (wide ? 2 : 1));
            } else {
                for (uint32_t k = 0; k < len; ++k) { // Latin-1 widened to UTF-16
                    m_scratch.push_back(src[k]);
                    m_scratch.push_back(0);
                }
            }
        }
    }
    if (count == 0) {
        if (ref != 0)
            release(ref);
        ref = 0;
    } else if (ref != 0 && m_scratch.size() <= oldSize) {
        // Not longer than before: rewritten where it stands, so refilling or retyping a table
        // leaves no old copies behind.
        std::memcpy(m_pool.data() + ref, m_scratch.data(), m_scratch.size());
        m_garbage += oldSize - m_scratch.size();
    } else {
        if (ref != 0)
            release(ref, oldSize); // its size is known: no second parse
        ref = uint32_t(m_pool.size());
        m_pool.append(m_scratch.data(), m_scratch.size());
    }
    compactIfWasteful();
}

// A text of the same length as the cell's, in the row's encoding, changes no lengths and so
// no other byte of the blob: the common case of refilling or retyping a table.
bool CellStore::overwriteInPlace(uint32_t offset, int col, QStringView text)
{
    const CellAt at = locate(m_pool.data() + offset, col);
    if (!at.chars || at.len != uint32_t(text.size()) || (!at.wide && needsWide(text)))
        return false;
    writeChars(m_pool.data() + (at.chars - m_pool.data()), text, at.wide);
    return true;
}

// Filling a row left to right, as a load does, adds each cell just after the row's last one.
// When that row is the newest blob the cell is simply appended to the pool, instead of the
// row being rebuilt once per cell.
bool CellStore::appendAtPoolEnd(uint32_t offset, int col, QStringView text)
{
    if (text.isEmpty())
        return false;
    uint8_t *start = m_pool.data() + offset;
    const bool wide = *start == kUtf16;
    const uint8_t *p = start + 1;
    const uint32_t count = getVarint(p);
    if (uint32_t(col) != count || count + 1 >= 0x80) // the count must stay one byte long
        return false;
    const size_t unit = wide ? 2 : 1;
    for (uint32_t c = 0; c < count; ++c)
        p += getVarint(p) * unit;
    if (size_t(p - m_pool.data()) != m_pool.size())
        return false;
    if (!wide && needsWide(text))
        return false;
    start[1] = uint8_t(count + 1);
    putVarint(m_pool, uint32_t(text.size()));
    writeChars(m_pool.extend(size_t(text.size()) * unit), text, wide);
    return true;
}

bool CellStore::latin1(int row, int col, const char *&data, qsizetype &size) const
{
    const uint32_t off = m_ref[size_t(row)];
    data = "";
    size = 0;
    if (off == 0)
        return true;
    const Located at = locateForReading(off, col);
    if (at.wide)
        return false;
    if (at.chars) {
        data = reinterpret_cast<const char *>(at.chars);
        size = qsizetype(at.len);
    }
    return true;
}

bool CellStore::rowLatin1(int row, int count, const char **data, qsizetype *sizes) const
{
    const uint32_t off = m_ref[size_t(row)];
    const uint8_t *p = m_pool.data() + off;
    uint32_t kept = 0;
    if (off != 0) {
        if (*p++ == kUtf16)
            return false;
        kept = getVarint(p);
    }
    for (int c = 0; c < count; ++c) {
        if (uint32_t(c) < kept) {
            sizes[c] = qsizetype(getVarint(p));
            data[c] = reinterpret_cast<const char *>(p);
            p += sizes[c];
        } else {
            data[c] = "";
            sizes[c] = 0;
        }
    }
    return true;
}

void CellStore::textInto(int row, int col, QString &out) const
{
    const uint32_t off = m_ref[size_t(row)];
    const Located at = off == 0 ? Located() : locateForReading(off, col);
    out.resize(qsizetype(at.len));
    if (!at.chars)
        return;
    QChar *dst = out.data();
    if (!at.wide) {
        for (uint32_t k = 0; k < at.len; ++k)
            dst[k] = QChar(at.chars[k]);
    } else {
        std::memcpy(dst, at.chars, size_t(at.len) * 2);
    }
}

void CellStore::setRow(int row, const std::vector<QString> &cells)
{
    ++m_generation;
    uint32_t &ref = m_ref[size_t(row)];
    release(ref);
    if (int(cells.size()) > m_cols) {
        std::vector<QString> clipped(cells.begin(), cells.begin() + m_cols);
        ref = appendRow(clipped);
    } else {
        ref = appendRow(cells);
    }
    compactIfWasteful();
}

// Encodes the row straight from the joined text: a loaded row costs one append to the pool,
// not one row rebuild or walk per cell.
void CellStore::setRowParts(int row, QStringView parts, QChar separator)
{
    ++m_generation;
    uint32_t &ref = m_ref[size_t(row)];
    release(ref);
    ref = 0;
    // The cells kept, as spans: at most m_cols, trailing empty ones dropped.
    m_spans.clear();
    const char16_t *text = parts.utf16();
    const auto size = uint32_t(std::min<qsizetype>(parts.size(), 0xFFFFFFFF));
    uint32_t count = 0;
    uint32_t start = 0;
    char16_t widest = 0;
    for (uint32_t i = 0; i <= size && m_spans.size() < size_t(m_cols); ++i) {
        if (i < size && text[i] != separator.unicode()) {
            widest |= text[i];
            continue;
        }
        m_spans.push_back({start, i - start});
        if (i > start)
            count = uint32_t(m_spans.size());
        start = i + 1;
    }
    if (count == 0)
        return;
    // Characters past the last cell kept may be wide without making the row so.
    const bool wide = widest > 0xFF && needsWideSpans(text, count);
    ref = appendBlob(
        count,
        [&](uint32_t c) { return QStringView(text + m_spans[c].pos, qsizetype(m_spans[c].len)); },
        wide ? 1 : 0);
    compactIfWasteful();
}

void CellStore::insertRow(int at)
{
    ++m_generation;
    m_ref.insert(size_t(at));
}

void CellStore::insertRows(int at, int count)
{
    ++m_generation;
    m_ref.insert(size_t(at), size_t(count));
}

void CellStore::removeRow(int at)
{
    removeRows(at, 1);
}

void CellStore::removeRows(int at, int count)
{
    ++m_generation;
    for (int k = 0; k < count; ++k)
        release(m_ref[size_t(at) + size_t(k)]);
    m_ref.erase(size_t(at), size_t(count));
    compactIfWasteful();
}

void CellStore::compactIfWasteful()
{
    if (m_garbage < m_compactAt || m_garbage * 2 < m_pool.size())
        return;
    ++m_compactions;
    PodBuffer<uint8_t> pool;
    pool.reserve(m_pool.size() - m_garbage);
    pool.push_back(0);
    for (uint32_t &ref : m_ref) {
        if (ref == 0)
            continue;
        const size_t size = blobSize(ref);
        const auto offset = uint32_t(pool.size());
        pool.append(m_pool.data() + ref, size);
        ref = offset;
    }
    m_pool.swap(pool);
    m_garbage = 0;
}

size_t CellStore::memoryBytes() const
{
    return m_ref.capacityBytes() + m_pool.capacity();
}

} // namespace qrt
