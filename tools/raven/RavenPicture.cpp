#include "RavenPicture.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

constexpr int pictureWidth = 392;
constexpr int pictureHeight = 434;
constexpr qreal baseCell = 68; // the 3 by 3 cell; the other layouts scale their figures to it
constexpr int numberHeight = 26;

const QColor shades[] = {Qt::white, QColor(150, 150, 150), Qt::black};

// Where things go on the picture of one layout.
struct Frame
{
    QRectF problem;             // the matrix or the field
    qreal cell;                 // side of a matrix cell and of a candidate
    std::vector<QRectF> places; // the candidates, in number order
};

Frame frameOf(Layout layout, size_t candidates)
{
    Frame frame;
    const int perRow = candidates == 8 ? 4 : 3;
    qreal top = 0, gap = 0;
    switch (layout) {
    case Layout::Field:
        frame.cell = 80;
        frame.problem = QRectF(36, 10, 320, 160);
        top = 196;
        gap = 44;
        break;
    case Layout::TwoByTwo:
        frame.cell = 84;
        frame.problem = QRectF((pictureWidth - 168) / 2.0, 10, 168, 168);
        top = 196;
        gap = 40;
        break;
    case Layout::ThreeByThree:
        frame.cell = 68;
        frame.problem = QRectF((pictureWidth - 204) / 2.0, 10, 204, 204);
        top = 228;
        gap = 28;
        break;
    }
    const qreal rowWidth = perRow * frame.cell + (perRow - 1) * gap;
    const qreal left = (pictureWidth - rowWidth) / 2;
    for (size_t i = 0; i < candidates; ++i) {
        const qreal x = left + qreal(i % perRow) * (frame.cell + gap);
        const qreal y = top + qreal(i / perRow) * (frame.cell + numberHeight + 10);
        frame.places.emplace_back(x, y, frame.cell, frame.cell);
    }
    return frame;
}

QPainterPath outline(int figure, qreal r)
{
    QPainterPath path;
    auto polygon = [&](std::initializer_list<QPointF> points) {
        path.addPolygon(QPolygonF(points));
        path.closeSubpath();
    };
    switch (figure) {
    case Circle:
        path.addEllipse(QPointF(0, 0), r, r);
        break;
    case Square:
        path.addRect(-0.82 * r, -0.82 * r, 1.64 * r, 1.64 * r);
        break;
    case Triangle: {
        // Equilateral, pointing up, its height centred on the middle.
        const qreal side = 1.9 * r, height = side * qSqrt(3) / 2;
        polygon({{0, -height / 2}, {side / 2, height / 2}, {-side / 2, height / 2}});
        break;
    }
    case Diamond:
        polygon({{0, -r}, {0.72 * r, 0}, {0, r}, {-0.72 * r, 0}});
        break;
    case Hexagon: {
        QPolygonF corners;
        for (int k = 0; k < 6; ++k)
            corners << QPointF(r * qCos(qDegreesToRadians(60.0 * k)), r * qSin(qDegreesToRadians(60.0 * k)));
        path.addPolygon(corners);
        path.closeSubpath();
        break;
    }
    case Arrow:
        polygon({{0, -r}, {0.62 * r, -0.15 * r}, {0.22 * r, -0.15 * r}, {0.22 * r, r}, {-0.22 * r, r},
                 {-0.22 * r, -0.15 * r}, {-0.62 * r, -0.15 * r}});
        break;
    }
    return path;
}

void drawFigure(QPainter &p, QPointF centre, int figure, qreal r, int shade, int rotation, qreal pen)
{
    p.save();
    p.translate(centre);
    p.rotate(rotation);
    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(shades[shade]);
    p.drawPath(outline(figure, r));
    p.restore();
}

// Offsets of 1 to 5 figures from the middle, in halves of a cell.
std::vector<QPointF> arrangement(int number)
{
    switch (number) {
    case 1: return {{0, 0}};
    case 2: return {{-0.42, 0}, {0.42, 0}};
    case 3: return {{0, -0.42}, {-0.44, 0.36}, {0.44, 0.36}};
    case 4: return {{-0.44, -0.44}, {0.44, -0.44}, {-0.44, 0.44}, {0.44, 0.44}};
    default: return {{-0.54, -0.54}, {0.54, -0.54}, {0, 0}, {-0.54, 0.54}, {0.54, 0.54}};
    }
}

qreal radiusOf(int size)
{
    static const qreal radii[] = {10, 16, 25};
    return radii[size];
}

void drawFigures(QPainter &p, const QRectF &cell, const Panel &panel)
{
    const qreal scale = cell.width() / baseCell, half = cell.width() / 2;
    const qreal r = radiusOf(panel[Size]) * scale;
    for (QPointF offset : arrangement(panel[Number]))
        drawFigure(p, cell.center() + offset * half, panel[Shape], r, panel[Shade], panel[Rotation], 2.2);
    if (panel[InnerShape] >= 0) {
        const qreal inner = panel[InnerShape] == Arrow ? 0.62 * r : 0.44 * r;
        drawFigure(p, cell.center(), panel[InnerShape], inner, panel[InnerShade], panel[InnerRotation], 2.0);
    }
}

void drawQuadrants(QPainter &p, const QRectF &cell, const Panel &panel)
{
    const qreal half = 26 * cell.width() / baseCell;
    const QPointF c = cell.center();
    p.setPen(QPen(Qt::black, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
    p.drawLine(QPointF(c.x(), c.y() - half), QPointF(c.x(), c.y() + half));
    p.drawLine(QPointF(c.x() - half, c.y()), QPointF(c.x() + half, c.y()));
    static const QPointF quadrants[] = {{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}};
    drawFigure(p, c + quadrants[panel[Position]] * half, panel[Shape], 8, panel[Shade], 0, 1.8);
}

void drawLines(QPainter &p, const QRectF &cell, const Panel &panel)
{
    const qreal h = 22 * cell.width() / baseCell;
    const QPointF c = cell.center();
    auto at = [&](qreal x, qreal y) { return c + QPointF(x * h, y * h); };
    const std::pair<int, QLineF> strokes[] = {
        {Top, {at(-1, -1), at(1, -1)}},   {Right, {at(1, -1), at(1, 1)}},     {Bottom, {at(-1, 1), at(1, 1)}},
        {Left, {at(-1, -1), at(-1, 1)}},  {Vertical, {at(0, -1), at(0, 1)}}, {Horizontal, {at(-1, 0), at(1, 0)}},
        {Falling, {at(-1, -1), at(1, 1)}}, {Rising, {at(-1, 1), at(1, -1)}},
    };
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap));
    const int set = panel[Strokes] | panel[InnerStrokes];
    for (const auto &[bit, line] : strokes)
        if (set & bit)
            p.drawLine(line);
    drawFigure(p, c, panel[Shape], 7.5, panel[Shade], 0, 1.8);
}

void drawDottedFrame(QPainter &p, const QRectF &cell, const Panel &panel)
{
    const QPointF c = cell.center();
    drawFigure(p, c, panel[Shape], 27, 0, 0, 2.2);
    static const std::pair<int, QPointF> dots[] = {{1, {-11, -11}}, {2, {11, -11}}, {4, {11, 11}}, {8, {-11, 11}}};
    for (const auto &[bit, offset] : dots)
        if (panel[Dots] & bit)
            drawFigure(p, c + offset, Circle, 6, panel[Shade], 0, 1.6);
}

// Bands across the field in its own coordinates; origin is where the field's
// upper left corner lies on the picture.
void drawStripes(QPainter &p, const QRectF &clip, QPointF origin, const Panel &panel)
{
    static const qreal periods[] = {12, 20, 30};
    const qreal period = periods[panel[Size]];
    p.save();
    p.setClipRect(clip);
    p.translate(origin);
    p.rotate(panel[Rotation]);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (qreal x = -600; x < 600; x += period)
        p.drawRect(QRectF(x, -600, period * 0.42, 1200));
    p.restore();
}

// Circles on a 40-pixel grid, growing from column to column, the rows
// alternately black and white. The missing piece is columns 7 and 8 of rows
// 3 and 4; its Size and Shade say how a candidate continues them.
constexpr qreal fieldPitch = 40;

qreal fieldRadius(int column)
{
    return 3 + 16.0 * column / 7;
}

void drawFieldCircle(QPainter &p, QPointF centre, int column, int row)
{
    drawFigure(p, centre, Circle, fieldRadius(column), row % 2 == 0 ? 2 : 0, 0, 1.8);
}

void drawCircleField(QPainter &p, const QRectF &field, const QRectF &hole)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 8; ++column) {
            const QPointF centre = field.topLeft() + QPointF((column + 0.5) * fieldPitch, (row + 0.5) * fieldPitch);
            if (!hole.contains(centre))
                drawFieldCircle(p, centre, column, row);
        }
}

void drawCircleFieldPiece(QPainter &p, const QRectF &place, const Panel &panel)
{
    static const int firstColumn[] = {6, 0, 3}; // goes on growing, starts small, stays middling
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            const QPointF centre = place.topLeft() + QPointF((column + 0.5) * fieldPitch, (row + 0.5) * fieldPitch);
            drawFieldCircle(p, centre, firstColumn[panel[Size]] + column, row + 2 + panel[Shade]);
        }
}

void drawPanel(QPainter &p, const Item &item, const QRectF &cell, const Panel &panel)
{
    switch (item.look) {
    case Look::Figures: return drawFigures(p, cell, panel);
    case Look::Quadrants: return drawQuadrants(p, cell, panel);
    case Look::Lines: return drawLines(p, cell, panel);
    case Look::DottedFrame: return drawDottedFrame(p, cell, panel);
    case Look::Stripes:
    case Look::CircleField: return; // drawn as a field
    }
}

void drawBox(QPainter &p, const QRectF &box, qreal width)
{
    p.setPen(QPen(Qt::black, width));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

void drawProblem(QPainter &p, const Item &item, const Frame &frame)
{
    if (item.layout == Layout::Field) {
        const QRectF &field = frame.problem;
        const QRectF hole(field.right() - frame.cell, field.bottom() - frame.cell, frame.cell, frame.cell);
        if (item.look == Look::Stripes)
            drawStripes(p, field, field.topLeft(), item.panels.front());
        else
            drawCircleField(p, field, hole);
        p.fillRect(hole, Qt::white);
        drawBox(p, hole, 2);
        drawBox(p, field, 2);
        return;
    }
    const int columns = columnsOf(item.layout);
    for (size_t i = 0; i + 1 < item.panels.size(); ++i) {
        const QRectF cell(frame.problem.left() + qreal(int(i) % columns) * frame.cell,
                          frame.problem.top() + qreal(int(i) / columns) * frame.cell, frame.cell, frame.cell);
        drawPanel(p, item, cell, item.panels[i]);
    }
    drawBox(p, frame.problem, 2);
    p.setPen(QPen(Qt::black, 1.5));
    for (int k = 1; k < columns; ++k) {
        const qreal x = frame.problem.left() + k * frame.cell, y = frame.problem.top() + k * frame.cell;
        p.drawLine(QPointF(x, frame.problem.top()), QPointF(x, frame.problem.bottom()));
        p.drawLine(QPointF(frame.problem.left(), y), QPointF(frame.problem.right(), y));
    }
}

void drawCandidate(QPainter &p, const Item &item, const Frame &frame, size_t index)
{
    const QRectF &place = frame.places[index];
    const Panel &candidate = item.candidates[index];
    if (item.look == Look::Stripes) {
        const QRectF &field = frame.problem;
        const QPointF hole(field.right() - frame.cell, field.bottom() - frame.cell);
        drawStripes(p, place, field.topLeft() + (place.topLeft() - hole), candidate);
    } else if (item.look == Look::CircleField) {
        drawCircleFieldPiece(p, place, candidate);
    } else {
        drawPanel(p, item, place, candidate);
    }
    drawBox(p, place, 1.5);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(place.left(), place.bottom() + 2, place.width(), numberHeight), Qt::AlignCenter,
               QString::number(index + 1));
}

} // namespace

QImage paintItem(const Item &item)
{
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Frame frame = frameOf(item.layout, item.candidates.size());
    drawProblem(p, item, frame);
    for (size_t i = 0; i < item.candidates.size(); ++i)
        drawCandidate(p, item, frame, i);
    p.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}
