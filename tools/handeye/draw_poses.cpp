// Draws the pictures of the hand and eye window as black line drawings on
// white: fingers interlaced with one thumb over the other, arms folded with
// one forearm over the other, a clap with one palm over the other, and the
// sighting line. Run through make_pictures.sh; usage: draw_poses OUTPUT_DIR
//
// Every figure is built from filled shapes drawn back to front: a shape is
// white inside with a black outline, so whatever lies on top hides what lies
// beneath, as on a drawing made by hand.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <cstdio>

namespace {

constexpr qreal outlineWidth = 3;

QPainterPath capsule(QPointF from, QPointF to, qreal radius)
{
    QPainterPath line(from);
    line.lineTo(to);
    QPainterPathStroker stroker;
    stroker.setWidth(2 * radius);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line).simplified();
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath unite(std::initializer_list<QPainterPath> parts)
{
    QPainterPath whole;
    for (const QPainterPath &part : parts)
        whole = whole.united(part);
    return whole;
}

// The region a shape covers together with its outline.
QPainterPath withOutline(const QPainterPath &shape)
{
    QPainterPathStroker stroker;
    stroker.setWidth(2 * outlineWidth);
    return shape.united(stroker.createStroke(shape));
}

class Sheet
{
public:
    Sheet(int width, int height)
        : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::white);
    }

    // A shape lying on top of everything drawn so far.
    void shape(const QPainterPath &path) { painter.drawPath(path); }

    // A shape drawn only inside a region: what of it lies on top there.
    void shapeWithin(const QPainterPath &path, const QPainterPath &region)
    {
        painter.save();
        painter.setClipPath(region);
        painter.drawPath(path);
        painter.restore();
    }

    // A detail line: a crease, a fold, a sign of movement.
    void line(const QPainterPath &path, qreal width = outlineWidth * 0.7)
    {
        painter.save();
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.restore();
    }

    void fillBlack(const QRectF &rect) { painter.fillRect(rect, Qt::black); }

    bool save(const QString &path)
    {
        painter.end();
        return image.convertToFormat(QImage::Format_Grayscale8).save(path, "PNG");
    }

private:
    QImage image;
    QPainter painter;
};

// An open hand with the fingers together, pointing up, the wrist at the
// origin and the forearm running down. thumbSide -1 puts the thumb on the
// left, +1 on the right.
struct Hand
{
    QPainterPath outline;
    QPainterPath creases;
};

Hand flatHand(int thumbSide, qreal forearmLength, bool palmShown)
{
    const qreal s = thumbSide;
    Hand hand;
    QPainterPath palm = roundedRect({-37, -96, 74, 100}, 22);
    QPainterPath forearm = roundedRect({-29, -24, 58, forearmLength + 24}, 8);
    // Index finger on the thumb's side, little finger on the other.
    struct Finger { qreal x, base, length; };
    const Finger fingers[] = {{27 * s, -80, 64}, {9 * s, -84, 74}, {-9 * s, -82, 68}, {-27 * s, -74, 52}};
    hand.outline = palm.united(forearm);
    for (const Finger &f : fingers)
        hand.outline = hand.outline.united(capsule({f.x, f.base}, {f.x, f.base - f.length}, 8.3));
    hand.outline = hand.outline.united(capsule({24 * s, -26}, {64 * s, -76}, 11.5));
    if (palmShown) {
        // Two palm creases and the crease at the root of the thumb.
        QPainterPath creases;
        creases.moveTo(-30 * s, -70);
        creases.quadTo(0, -58, 20 * s, -74);
        creases.moveTo(-30 * s, -56);
        creases.quadTo(-4 * s, -44, 14 * s, -56);
        creases.moveTo(16 * s, -60);
        creases.quadTo(2 * s, -30, 10 * s, -8);
        hand.creases = creases;
    } else {
        // Knuckles on the back of the hand.
        QPainterPath knuckles;
        for (const Finger &f : fingers) {
            knuckles.moveTo(f.x - 5, f.base + 8);
            knuckles.quadTo(f.x, f.base + 4, f.x + 5, f.base + 8);
        }
        hand.creases = knuckles;
    }
    return hand;
}

Hand placed(const Hand &hand, QPointF wrist, qreal degrees, qreal scale)
{
    QTransform t;
    t.translate(wrist.x(), wrist.y());
    t.rotate(degrees);
    t.scale(scale, scale);
    return {t.map(hand.outline), t.map(hand.creases)};
}

// Seen from above: the backs of both hands, the fingers interlaced across the
// middle, the thumbs crossing in front, the right thumb over the left one.
bool drawInterlacedFingers(const QString &path)
{
    Sheet sheet(433, 265);
    const qreal radius = 7.4;
    const qreal pitch = 2 * radius + 1.2;
    const qreal top = 58;
    auto strip = [&](int row) { return top + row * pitch; };

    // Rows from the far side to the near side: little fingers first, the
    // index fingers next to the thumbs; the hand of the upper thumb has its
    // index finger nearest.
    struct Finger { int row; qreal tip; };
    const Finger leftFingers[] = {{0, 246}, {2, 268}, {4, 278}, {6, 270}};
    const Finger rightFingers[] = {{1, 187}, {3, 165}, {5, 155}, {7, 163}};

    QPainterPath leftPalm = roundedRect({84, 40, 92, 150}, 34);
    QPainterPath rightPalm = roundedRect({257, 40, 92, 150}, 34);
    QPainterPath leftFingerPaths, rightFingerPaths;
    for (const Finger &f : leftFingers)
        leftFingerPaths = leftFingerPaths.united(capsule({150, strip(f.row)}, {f.tip, strip(f.row)}, radius));
    for (const Finger &f : rightFingers)
        rightFingerPaths = rightFingerPaths.united(capsule({283, strip(f.row)}, {f.tip, strip(f.row)}, radius));

    const QPainterPath left = unite({leftPalm, roundedRect({-20, 72, 140, 92}, 10), leftFingerPaths,
                                     capsule({150, 178}, {232, 222}, 11)});
    const QPainterPath right = unite({rightPalm, roundedRect({313, 72, 140, 92}, 10), rightFingerPaths,
                                      capsule({283, 178}, {200, 224}, 11)});
    sheet.shape(left);
    sheet.shape(right);
    // The left fingertips lie on the back of the right hand.
    sheet.shapeWithin(leftFingerPaths, withOutline(rightPalm));

    // Thumbnails show which way each thumb points.
    QPainterPath nails;
    nails.addEllipse(QPointF(222, 217), 6, 4.5);
    nails.addEllipse(QPointF(209, 219), 6, 4.5);
    sheet.line(nails, 1.6);
    return sheet.save(path);
}

// Seen from the front: the arms folded across the chest. The forearm of the
// arm on the picture's left goes beneath, its hand tucked under the other
// arm; the other forearm lies over it, its hand on the upper arm opposite.
bool drawFoldedArms(const QString &path)
{
    Sheet sheet(433, 193);

    QPainterPath torso;
    torso.moveTo(199, -4);
    torso.lineTo(199, 14);
    torso.cubicTo(160, 24, 112, 26, 96, 40);
    torso.cubicTo(80, 54, 76, 90, 80, 200);
    torso.lineTo(353, 200);
    torso.cubicTo(357, 90, 353, 54, 337, 40);
    torso.cubicTo(321, 26, 273, 24, 234, 14);
    torso.lineTo(234, -4);
    torso.closeSubpath();
    sheet.shape(torso);
    QPainterPath collar;
    collar.moveTo(185, 20);
    collar.quadTo(216, 44, 248, 20);
    sheet.line(collar);

    const QPainterPath underArm = unite({capsule({98, 58}, {84, 148}, 25), capsule({86, 150}, {336, 120}, 19)});
    sheet.shape(underArm);

    QPainterPath hand = roundedRect({88, 88, 42, 38}, 14);
    for (int i = 0; i < 4; ++i)
        hand = hand.united(capsule({104, 93.5 + i * 9.8}, {i == 3 ? 72.0 : 66.0, 92 + i * 10.5}, 4.7));
    const QPainterPath overArm = unite(
        {capsule({335, 58}, {349, 148}, 25), capsule({347, 152}, {122, 110}, 19), hand, capsule({120, 96}, {104, 80}, 5.5)});
    sheet.shape(overArm);
    return sheet.save(path);
}

// Seen from above in the middle of a clap: the left hand palm up, the right
// hand palm down over it; short strokes show the right hand coming down.
bool drawClap(const QString &path)
{
    Sheet sheet(441, 265);
    const Hand lower = placed(flatHand(-1, 140, true), {118, 262}, 34, 1.12);
    const Hand upper = placed(flatHand(-1, 140, false), {330, 268}, -38, 1.12);
    sheet.shape(lower.outline);
    sheet.line(lower.creases);
    sheet.shape(upper.outline);
    sheet.line(upper.creases);

    QPainterPath motion;
    for (int i = 0; i < 3; ++i) {
        const qreal x = 352 + i * 14, y = 98 + i * 16;
        motion.moveTo(x, y);
        motion.quadTo(x + 10, y + 6, x + 14, y + 18);
    }
    sheet.line(motion, 2.2);
    return sheet.save(path);
}

// The sighting target: a thick black vertical line over the full height.
bool drawSightingLine(const QString &path)
{
    Sheet sheet(177, 527);
    sheet.fillBlack({82, 0, 13, 527});
    return sheet.save(path);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_poses OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    const bool drawn = drawInterlacedFingers(out.filePath(QStringLiteral("fingers.png")))
                       && drawFoldedArms(out.filePath(QStringLiteral("arms.png")))
                       && drawClap(out.filePath(QStringLiteral("clap.png")))
                       && drawSightingLine(out.filePath(QStringLiteral("line.png")));
    return drawn ? 0 : 1;
}
