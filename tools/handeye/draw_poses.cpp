// Draws the pictures of the hand and eye window as black line drawings on
// white: fingers interlaced with one thumb over the other, arms folded with
// one forearm over the other, a clap with one palm over the other, and the
// sighting line, each as NAME.png and at twice the size as NAME@2x.png for
// scaled displays. Run through make_pictures.sh; usage: draw_poses OUTPUT_DIR
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
    // A sheet of width by height, drawn scale times as large.
    Sheet(int width, int height, int scale)
        : image(width * scale, height * scale, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        painter.begin(&image);
        painter.scale(scale, scale);
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

// A fingernail near a tip, lying along the finger from `towards` to `tip`.
QPainterPath nail(QPointF tip, QPointF towards, qreal width)
{
    const QLineF along(tip, towards);
    QTransform t;
    t.translate(tip.x(), tip.y());
    t.rotate(-along.angle());
    QPainterPath path;
    path.addRoundedRect(QRectF(3, -width / 2, 11, width), 3.5, 3.5);
    return t.map(path);
}

// Seen from above: the backs of both hands, the fingers interlaced across the
// middle, the thumbs crossing in front, the right thumb over the left one.
bool drawInterlacedFingers(const QString &path, int scale)
{
    Sheet sheet(433, 265, scale);
    const qreal radius = 8;
    const qreal pitch = 2 * radius + 1;
    auto row = [&](int k) { return 57 + k * pitch; };
    const qreal middle = 433 / 2.0;
    auto mirrored = [&](qreal x) { return 2 * middle - x; };

    // Rows from the far side to the near side: little fingers first, the
    // index fingers next to the thumbs; the hand of the upper thumb has its
    // index finger nearest.
    struct Finger { int row; qreal tip; };
    const Finger leftFingers[] = {{0, 250}, {2, 266}, {4, 274}, {6, 266}};
    const Finger rightFingers[] = {{1, 250}, {3, 266}, {5, 274}, {7, 266}}; // mirrored

    QPainterPath leftFingerPaths, rightFingerPaths, nails;
    for (const Finger &f : leftFingers) {
        const qreal y = row(f.row);
        leftFingerPaths = leftFingerPaths.united(capsule({150, y}, {f.tip, y}, radius));
        nails.addPath(nail({f.tip + radius, y}, {0, y}, 10));
    }
    for (const Finger &f : rightFingers) {
        const qreal y = row(f.row), tip = mirrored(f.tip);
        rightFingerPaths = rightFingerPaths.united(capsule({mirrored(150), y}, {tip, y}, radius));
        nails.addPath(nail({tip - radius, y}, {433, y}, 10));
    }

    // The back of each hand, its forearm running down and out of the picture.
    QPainterPath leftBack;
    leftBack.moveTo(180, 49);
    leftBack.cubicTo(150, 42, 122, 64, 106, 90);
    leftBack.lineTo(106, 160);
    leftBack.cubicTo(122, 186, 150, 196, 180, 192);
    leftBack.closeSubpath();
    const QPainterPath rightBack = QTransform(-1, 0, 0, 1, 2 * middle, 0).map(leftBack);
    const QPointF leftThumbTip(238, 226), rightThumbTip(mirrored(240), 228);
    const QPainterPath left = unite({leftBack, capsule({112, 125}, {-40, 215}, 34), leftFingerPaths,
                                     capsule({156, 176}, leftThumbTip, 11.5)});
    const QPainterPath right = unite({rightBack, capsule({mirrored(112), 125}, {473, 215}, 34), rightFingerPaths,
                                      capsule({mirrored(156), 176}, rightThumbTip, 11.5)});
    sheet.shape(left);
    sheet.shape(right);
    // The left fingertips lie on the back of the right hand.
    sheet.shapeWithin(leftFingerPaths, withOutline(rightBack));

    nails.addPath(nail(leftThumbTip + QPointF(9, 5), {156, 176}, 13));
    nails.addPath(nail(rightThumbTip + QPointF(-9, 5), {mirrored(156), 176}, 13));
    sheet.line(nails, 1.6);
    return sheet.save(path);
}

// Seen from the front: the arms folded across the chest. The forearm of the
// arm on the picture's left goes beneath, its hand tucked under the other
// arm; the other forearm lies over it, its hand on the upper arm opposite.
bool drawFoldedArms(const QString &path, int scale)
{
    Sheet sheet(433, 193, scale);

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
// hand palm down over it.
bool drawClap(const QString &path, int scale)
{
    Sheet sheet(441, 265, scale);
    const Hand lower = placed(flatHand(-1, 160, true), {172, 220}, 30, 1.12);
    const Hand upper = placed(flatHand(-1, 160, false), {276, 206}, -34, 1.12);
    sheet.shape(lower.outline);
    sheet.line(lower.creases);
    sheet.shape(upper.outline);
    sheet.line(upper.creases);
    return sheet.save(path);
}

// The sighting target: a thick black vertical line over the full height.
bool drawSightingLine(const QString &path, int scale)
{
    Sheet sheet(177, 527, scale);
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
    using Drawing = bool (*)(const QString &, int);
    const std::pair<const char *, Drawing> pictures[] = {
        {"fingers", drawInterlacedFingers}, {"arms", drawFoldedArms}, {"clap", drawClap}, {"line", drawSightingLine}};
    bool drawn = true;
    for (const auto &[name, draw] : pictures)
        for (const auto &[scale, suffix] : {std::pair(1, ""), std::pair(2, "@2x")})
            drawn = drawn && draw(out.filePath(QLatin1String(name) + QLatin1String(suffix) + QLatin1String(".png")), scale);
    return drawn ? 0 : 1;
}
