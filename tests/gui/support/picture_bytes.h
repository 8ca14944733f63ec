// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

namespace vitrandel_test_support {

// A picture as the bytes of a file in the given format.
inline QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace vitrandel_test_support
