// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the picture loader's metafile drawing (what the picture process hands a WMF
// or an EMF to) on arbitrary bytes, asked for a picture the way the
// description area asks, and checks what must hold for any file: an empty
// picture or one of the size asked for, never a crash, a leak or a hang.
// Seeds: fuzz/corpus/picture_loader (the sample metafiles of tests/data).

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_check.h"
#include "pictures/metafile.h"

using vitrandel::pictures::PictureRequest;
using vitrandel::pictures::renderMetafile;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Text is measured and drawn with Qt's fonts, which need an application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QSize frame(137, 105);
    // One way of showing per input, picked by its length so that mutations
    // of the content keep the formats' magic numbers.
    switch (size % 3) {
    case 0: {
        const QImage image = renderMetafile(bytes, {frame, {}});
        FUZZ_CHECK(image.isNull() || image.size() == frame);
        break;
    }
    case 1: {
        const QImage image = renderMetafile(bytes, {{}, frame});
        FUZZ_CHECK(image.isNull() || (image.width() <= frame.width() && image.height() <= frame.height()));
        break;
    }
    default: {
        const QImage image = renderMetafile(bytes, {});
        FUZZ_CHECK(image.isNull() || (image.width() <= vitrandel::pictures::metafile::kMaxSide &&
                                      image.height() <= vitrandel::pictures::metafile::kMaxSide));
        break;
    }
    }
    return 0;
}
