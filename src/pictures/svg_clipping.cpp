// SPDX-License-Identifier: GPL-2.0-or-later
// QtSvg before 6.7 draws clip paths as if there were none, and the EMF
// converter writes one for every clipped record. The drawing is split into
// runs of elements under one clip; each run is drawn on a layer of its own
// and cut by its clip path, drawn by QtSvg in the same place.

#include <QDeadlineTimer>
#include <QDomDocument>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <climits>
#include <vector>

#include "pictures/metafile.h"

namespace vitrandel::pictures::metafile {
namespace {

// Beyond this many runs the picture is drawn unclipped: each run costs two
// drawings of the whole image.
constexpr int kMaxClippedRuns = 256;

const QString kClipPath = QStringLiteral("clip-path");

// The drawing's tree without its clip paths. Leaves are the elements that
// draw, numbered in the order they are drawn; a group spans the numbers of
// the leaves inside it.
struct Node {
    QDomElement element;
    bool leaf = false;
    bool always = false; // definitions other than clip paths
    QString clip;        // the id of the clip path over a leaf
    int first = INT_MAX, last = -1;
    std::vector<Node> children;
};

QString clipId(const QDomElement& e, const QString& inherited) {
    const QString url = e.attribute(kClipPath).trimmed();
    if (url.startsWith(QLatin1String("url(#")) && url.endsWith(QLatin1Char(')')))
        return url.mid(5, url.size() - 6);
    return inherited;
}

void build(Node& node, const QString& clip, int& leaves, QHash<QString, QDomElement>& clips) {
    for (QDomElement child = node.element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("clipPath")) {
            clips.insert(child.attribute(QStringLiteral("id")), child);
            continue;
        }
        Node n{child};
        if (tag == QLatin1String("defs")) {
            for (QDomElement d = child.firstChildElement(); !d.isNull(); d = d.nextSiblingElement())
                if (d.tagName() == QLatin1String("clipPath"))
                    clips.insert(d.attribute(QStringLiteral("id")), d);
            n.always = true;
        } else if (tag == QLatin1String("g") || tag == QLatin1String("svg")) {
            build(n, clipId(child, clip), leaves, clips);
        } else {
            n.leaf = true;
            n.clip = clipId(child, clip);
            n.first = n.last = leaves++;
        }
        node.first = std::min(node.first, n.first);
        node.last = std::max(node.last, n.last);
        node.children.push_back(std::move(n));
    }
}

void leavesOf(const Node& node, std::vector<const Node*>& out) {
    for (const Node& n : node.children) {
        if (n.leaf)
            out.push_back(&n);
        else
            leavesOf(n, out);
    }
}

// The clip path's shapes, filled, in place of a leaf under it.
void appendMask(QDomDocument& out, QDomNode parent, const QDomElement& clip) {
    for (QDomElement shape = clip.firstChildElement(); !shape.isNull(); shape = shape.nextSiblingElement()) {
        QDomElement copy = out.importNode(shape, true).toElement();
        copy.setAttribute(QStringLiteral("fill"), QStringLiteral("#000"));
        copy.setAttribute(QStringLiteral("fill-opacity"), QStringLiteral("1"));
        copy.setAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
        if (shape.hasAttribute(QStringLiteral("clip-rule")))
            copy.setAttribute(QStringLiteral("fill-rule"), shape.attribute(QStringLiteral("clip-rule")));
        copy.removeAttribute(kClipPath);
        parent.appendChild(copy);
    }
}

// A copy of `node` holding only the leaves numbered from `from` up to `to`,
// or, with `mask`, the clip path in place of the first of them.
void copyRange(QDomDocument& out, QDomNode parent, const Node& node, int from, int to, const QDomElement* mask) {
    if (node.always) {
        if (!mask)
            parent.appendChild(out.importNode(node.element, true));
        return;
    }
    if (node.last < from || node.first >= to)
        return;
    if (node.leaf) {
        if (mask)
            appendMask(out, parent, *mask);
        else
            parent.appendChild(out.importNode(node.element, true));
        return;
    }
    QDomElement copy = out.importNode(node.element, false).toElement();
    copy.removeAttribute(kClipPath);
    parent.appendChild(copy);
    for (const Node& child : node.children)
        copyRange(out, copy, child, from, to, mask);
}

QByteArray documentOf(const Node& root, int from, int to, const QDomElement* mask = nullptr) {
    QDomDocument out;
    QDomElement top = out.importNode(root.element, false).toElement();
    out.appendChild(top);
    for (const Node& child : root.children)
        copyRange(out, top, child, from, to, mask);
    return out.toByteArray(-1);
}

void renderInto(QImage& image, const QByteArray& svg, const QRectF& target) {
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, target);
}

} // namespace

bool renderSvgClipped(const QByteArray& svg, QImage& image, const QRectF& target) {
    QDomDocument document;
    if (!document.setContent(svg))
        return false;
    QHash<QString, QDomElement> clips;
    Node root{document.documentElement()};
    int count = 0;
    build(root, QString(), count, clips);
    std::vector<const Node*> leaves;
    leavesOf(root, leaves);

    // Runs of leaves under the same clip; a clip that names no clip path
    // clips nothing.
    struct Run {
        int from, to;
        const QDomElement* clip;
    };
    std::vector<Run> runs;
    for (int i = 0; i < int(leaves.size()); ++i) {
        const auto found = clips.constFind(leaves[size_t(i)]->clip);
        const QDomElement* clip = found == clips.constEnd() ? nullptr : &*found;
        if (!runs.empty() && runs.back().clip == clip)
            runs.back().to = i + 1;
        else
            runs.push_back({i, i + 1, clip});
    }
    if (runs.size() > size_t(kMaxClippedRuns))
        return false;

    // Half the drawing's time: the conversion has had its share, and an
    // unclipped drawing may still follow.
    const QDeadlineTimer deadline(kTimeBudget / 2);
    for (const Run& run : runs) {
        if (deadline.hasExpired())
            return false;
        if (!run.clip) {
            renderInto(image, documentOf(root, run.from, run.to), target);
            continue;
        }
        QImage layer(image.size(), QImage::Format_ARGB32_Premultiplied);
        QImage mask(image.size(), QImage::Format_ARGB32_Premultiplied);
        if (layer.isNull() || mask.isNull())
            return false;
        layer.fill(Qt::transparent);
        mask.fill(Qt::transparent);
        renderInto(layer, documentOf(root, run.from, run.to), target);
        renderInto(mask, documentOf(root, run.from, run.from + 1, run.clip), target);
        QPainter cut(&layer);
        cut.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        cut.drawImage(0, 0, mask);
        cut.end();
        QPainter(&image).drawImage(0, 0, layer);
    }
    return true;
}

} // namespace vitrandel::pictures::metafile
