// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

// The record structure of a WMF, walked without playing it, so that a
// record the player refuses can be told from a file whose structure is
// broken, and set aside alone.
namespace vitrandel::pictures::metafile {

struct Record {
    qsizetype start = 0;
    qsizetype end = 0;
    quint16 function = 0;
};

// Every record up to the end-of-file record, or nothing when a record's
// size is impossible or runs past the end of the file.
std::optional<std::vector<Record>> recordsOf(const QByteArray& bytes);

// One of the record types the format defines.
bool knownFunction(quint16 function);

// Makes `record` in `bytes` one that draws nothing. A record that creates
// an object becomes another that takes its place in the object table, so
// that later records still name the objects they mean; a record already
// made harmless so becomes one that does nothing at all. False when the
// record cannot be made any more harmless.
bool standIn(QByteArray& bytes, const Record& record);

} // namespace vitrandel::pictures::metafile
