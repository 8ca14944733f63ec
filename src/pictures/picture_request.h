// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSize>

namespace vitrandel::pictures {

// How much of the picture the caller will show. A description area shows at
// most 137 by 105 pixels of a picture that may be thousands wide, so the
// decoder is asked for no more than that.
struct PictureRequest {
    // Not empty: the whole picture, scaled to exactly this size (proportions not kept).
    QSize stretchTo;
    // Not empty: only this much of the top-left corner, at the picture's own scale.
    QSize naturalClip;
};

} // namespace vitrandel::pictures
