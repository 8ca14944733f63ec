// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace vitrandel_test_support {

// A file a test sets up, with the folders it needs, at `path`, which it gives
// back. No test means anything without its files, so failing stops the run.
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// What a file holds; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A test's own folder of fixture files, removed with it.
struct FixtureDir : QTemporaryDir {
    QString write(const QString& name, const QByteArray& bytes) const { return writeFile(filePath(name), bytes); }
};

} // namespace vitrandel_test_support
