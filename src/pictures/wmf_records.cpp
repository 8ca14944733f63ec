// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictures/wmf_records.h"

#include "pictures/metafile.h"

#include <QtEndian>
#include <algorithm>
#include <array>

namespace vitrandel::pictures::metafile {
namespace {

// Size and function: the smallest record, and the end-of-file one.
constexpr quint32 kRecordHeaderWords = 3;

constexpr quint16 kCreatePalette = 0x00F7;
// No record type has it; players pass over it.
constexpr quint16 kNothing = 0xFFFF;

constexpr std::array<quint16, 7> kCreatesObject = {
    0x00F7, // palette
    0x01F9, // pattern brush
    0x0142, // bitmap pattern brush
    0x02FA, // pen
    0x02FB, // font
    0x02FC, // brush
    0x06FF, // region
};

constexpr std::array<quint16, 69> kKnown = {
    0x0000, 0x001E, 0x0035, 0x0037, 0x00F7, 0x0102, 0x0103, 0x0104, 0x0105, 0x0106, 0x0107, 0x0108,
    0x0127, 0x012A, 0x012B, 0x012C, 0x012D, 0x012E, 0x0139, 0x0142, 0x0149, 0x01F0, 0x01F9, 0x0201,
    0x0209, 0x020A, 0x020B, 0x020C, 0x020D, 0x020E, 0x020F, 0x0211, 0x0213, 0x0214, 0x0220, 0x0228,
    0x0231, 0x0234, 0x02FA, 0x02FB, 0x02FC, 0x0324, 0x0325, 0x0410, 0x0412, 0x0415, 0x0416, 0x0418,
    0x0419, 0x041B, 0x041F, 0x0429, 0x0436, 0x0521, 0x0538, 0x0548, 0x061C, 0x061D, 0x0626, 0x06FF,
    0x0817, 0x081A, 0x0830, 0x0922, 0x0940, 0x0A32, 0x0B23, 0x0B41, 0x0F43,
};

template <std::size_t N>
bool among(const std::array<quint16, N>& functions, quint16 function) {
    return std::find(functions.begin(), functions.end(), function) != functions.end();
}

} // namespace

std::optional<std::vector<Record>> recordsOf(const QByteArray& bytes) {
    qsizetype at = firstWmfRecord(bytes);
    std::vector<Record> records;
    while (at + qsizetype(kRecordHeaderWords) * 2 <= bytes.size()) {
        const quint32 words = qFromLittleEndian<quint32>(bytes.constData() + at);
        const quint16 function = qFromLittleEndian<quint16>(bytes.constData() + at + 4);
        if (words < kRecordHeaderWords || words > quint32(bytes.size() - at) / 2)
            return std::nullopt;
        records.push_back({at, at + qsizetype(words) * 2, function});
        if (words == kRecordHeaderWords && function == 0)
            return records;
        at = records.back().end;
    }
    // No end-of-file record: the player decides whether the end will do.
    return records;
}

bool knownFunction(quint16 function) { return among(kKnown, function); }

bool standIn(QByteArray& bytes, const Record& record) {
    const quint16 now = qFromLittleEndian<quint16>(bytes.constData() + record.start + 4);
    quint16 instead = kNothing;
    if (now == kNothing)
        return false;
    if (now != kCreatePalette && among(kCreatesObject, now))
        instead = kCreatePalette;
    qToLittleEndian<quint16>(instead, bytes.data() + record.start + 4);
    return true;
}

} // namespace vitrandel::pictures::metafile
