#include "RavenPicture.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QtMath>

namespace {

constexpr int pictureWidth = 392;
constexpr int pictureHeight = 434;
constexpr qreal baseCell = 68; // the 3 by 3 cell; the other layouts scale their figures to it
constexpr int numberHeight = 26;

const QColor shades[] = {Qt::white, QColor(150, 150, 150), Qt::black};

// A line as drawn: its path in picture pixels and the width of its pen.
struct Outline
{
    QPainterPath path;
    qreal pen;
};

// Where an item is drawn: the painter and, while the spacing is checked, the
// outlines of the figures and of the frame and grid lines drawn so far.
struct Canvas
{
    QPainter &painter;
    std::vector<Outline> *figures = nullptr;
    std::vector<Outline> *rules = nullptr;

    void note(std::vector<Outline> *outlines, const QPainterPath &path, qreal pen) const
    {
        if (outlines)
            outlines->push_back({painter.transform().map(path), pen});
    }
};

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

void drawFigure(const Canvas &canvas, QPointF centre, int figure, qreal r, int shade, int rotation, qreal pen)
{
    QPainter &p = canvas.painter;
    p.save();
    p.translate(centre);
    p.rotate(rotation);
    p.setPen(QPen(Qt::black, pen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(shades[shade]);
    const QPainterPath path = outline(figure, r);
    p.drawPath(path);
    canvas.note(canvas.figures, path, pen);
    p.restore();
}

void drawRule(const Canvas &canvas, const QLineF &line, qreal pen)
{
    canvas.painter.setPen(QPen(Qt::black, pen));
    canvas.painter.drawLine(line);
    QPainterPath path(line.p1());
    path.lineTo(line.p2());
    canvas.note(canvas.rules, path, pen);
}

void drawBox(const Canvas &canvas, const QRectF &box, qreal pen)
{
    canvas.painter.setPen(QPen(Qt::black, pen));
    canvas.painter.setBrush(Qt::NoBrush);
    canvas.painter.drawRect(box);
    QPainterPath path;
    path.addRect(box);
    canvas.note(canvas.rules, path, pen);
}

// Offsets of 1 to 5 figures from the middle, in halves of a cell.
std::vector<QPointF> arrangement(int number)
{
    switch (number) {
    case 1: return {{0, 0}};
    case 2: return {{-0.42, 0}, {0.42, 0}};
    case 3: return {{0, -0.42}, {-0.44, 0.36}, {0.44, 0.36}};
    case 4: return {{-0.44, -0.44}, {0.44, -0.44}, {-0.44, 0.44}, {0.44, 0.44}};
    default: return {{-0.56, -0.56}, {0.56, -0.56}, {0, 0}, {-0.56, 0.56}, {0.56, 0.56}};
    }
}

qreal radiusOf(int size)
{
    static const qreal radii[] = {10, 16, 25};
    return radii[size];
}

void drawFigures(const Canvas &canvas, const QRectF &cell, const Panel &panel)
{
    const qreal scale = cell.width() / baseCell, half = cell.width() / 2;
    const qreal r = radiusOf(panel[Size]) * scale;
    for (QPointF offset : arrangement(panel[Number]))
        drawFigure(canvas, cell.center() + offset * half, panel[Shape], r, panel[Shade], panel[Rotation], 2.2);
    if (panel[InnerShape] >= 0) {
        const qreal inner = panel[InnerShape] == Arrow ? 0.62 * r : 0.44 * r;
        drawFigure(canvas, cell.center(), panel[InnerShape], inner, panel[InnerShade], panel[InnerRotation], 2.0);
    }
}

void drawQuadrants(const Canvas &canvas, const QRectF &cell, const Panel &panel)
{
    const qreal half = 26 * cell.width() / baseCell;
    const QPointF c = cell.center();
    drawBox(canvas, QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half), 1.6);
    drawRule(canvas, QLineF(c.x(), c.y() - half, c.x(), c.y() + half), 1.6);
    drawRule(canvas, QLineF(c.x() - half, c.y(), c.x() + half, c.y()), 1.6);
    static const QPointF quadrants[] = {{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}};
    drawFigure(canvas, c + quadrants[panel[Position]] * half, panel[Shape], 8, panel[Shade], 0, 1.8);
}

// The small circle lies on the strokes on purpose; they are not frame lines.
void drawLines(const Canvas &canvas, const QRectF &cell, const Panel &panel)
{
    QPainter &p = canvas.painter;
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
    drawFigure(canvas, c, panel[Shape], 7.5, panel[Shade], 0, 1.8);
}

void drawDottedFrame(const Canvas &canvas, const QRectF &cell, const Panel &panel)
{
    const QPointF c = cell.center();
    drawFigure(canvas, c, panel[Shape], 27, 0, 0, 2.2);
    static const std::pair<int, QPointF> dots[] = {{1, {-9, -9}}, {2, {9, -9}}, {4, {9, 9}}, {8, {-9, 9}}};
    for (const auto &[bit, offset] : dots)
        if (panel[Dots] & bit)
            drawFigure(canvas, c + offset, Circle, 5.5, panel[Shade], 0, 1.6);
}

// Bands across the field in its own coordinates; origin is where the field's
// upper left corner lies on the picture.
void drawStripes(const Canvas &canvas, const QRectF &clip, QPointF origin, const Panel &panel)
{
    QPainter &p = canvas.painter;
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
    return 3 + 12.0 * column / 7;
}

void drawFieldCircle(const Canvas &canvas, QPointF centre, int column, int row)
{
    drawFigure(canvas, centre, Circle, fieldRadius(column), row % 2 == 0 ? 2 : 0, 0, 1.8);
}

void drawCircleField(const Canvas &canvas, const QRectF &field, const QRectF &hole)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 8; ++column) {
            const QPointF centre = field.topLeft() + QPointF((column + 0.5) * fieldPitch, (row + 0.5) * fieldPitch);
            if (!hole.contains(centre))
                drawFieldCircle(canvas, centre, column, row);
        }
}

void drawCircleFieldPiece(const Canvas &canvas, const QRectF &place, const Panel &panel)
{
    static const int firstColumn[] = {6, 0, 3}; // goes on growing, starts small, stays middling
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            const QPointF centre = place.topLeft() + QPointF((column + 0.5) * fieldPitch, (row + 0.5) * fieldPitch);
            drawFieldCircle(canvas, centre, firstColumn[panel[Size]] + column, row + 2 + panel[Shade]);
        }
}

void drawPanel(const Canvas &canvas, const Item &item, const QRectF &cell, const Panel &panel)
{
    switch (item.look) {
    case Look::Figures: return drawFigures(canvas, cell, panel);
    case Look::Quadrants: return drawQuadrants(canvas, cell, panel);
    case Look::Lines: return drawLines(canvas, cell, panel);
    case Look::DottedFrame: return drawDottedFrame(canvas, cell, panel);
    case Look::Stripes:
    case Look::CircleField: return; // drawn as a field
    }
}

QRectF holeOf(const Frame &frame)
{
    const QRectF &field = frame.problem;
    return QRectF(field.right() - frame.cell, field.bottom() - frame.cell, frame.cell, frame.cell);
}

void drawProblem(const Canvas &canvas, const Item &item, const Frame &frame)
{
    if (item.layout == Layout::Field) {
        const QRectF &field = frame.problem;
        const QRectF hole = holeOf(frame);
        if (item.look == Look::Stripes)
            drawStripes(canvas, field, field.topLeft(), item.panels.front());
        else
            drawCircleField(canvas, field, hole);
        canvas.painter.fillRect(hole, Qt::white);
        drawBox(canvas, hole, 2);
        drawBox(canvas, field, 2);
        return;
    }
    const int columns = columnsOf(item.layout);
    for (size_t i = 0; i + 1 < item.panels.size(); ++i) {
        const QRectF cell(frame.problem.left() + qreal(int(i) % columns) * frame.cell,
                          frame.problem.top() + qreal(int(i) / columns) * frame.cell, frame.cell, frame.cell);
        drawPanel(canvas, item, cell, item.panels[i]);
    }
    drawBox(canvas, frame.problem, 2);
    for (int k = 1; k < columns; ++k) {
        const qreal x = frame.problem.left() + k * frame.cell, y = frame.problem.top() + k * frame.cell;
        drawRule(canvas, QLineF(x, frame.problem.top(), x, frame.problem.bottom()), 1.5);
        drawRule(canvas, QLineF(frame.problem.left(), y, frame.problem.right(), y), 1.5);
    }
}

void drawCandidate(const Canvas &canvas, const Item &item, const Frame &frame, size_t index)
{
    const QRectF &place = frame.places[index];
    const Panel &candidate = item.candidates[index];
    if (item.look == Look::Stripes)
        drawStripes(canvas, place, frame.problem.topLeft() + (place.topLeft() - holeOf(frame).topLeft()), candidate);
    else if (item.look == Look::CircleField)
        drawCircleFieldPiece(canvas, place, candidate);
    else
        drawPanel(canvas, item, place, candidate);
    drawBox(canvas, place, 1.5);

    QPainter &p = canvas.painter;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(place.left(), place.bottom() + 2, place.width(), numberHeight), Qt::AlignCenter,
               QString::number(index + 1));
}

void drawItem(const Canvas &canvas, const Item &item)
{
    canvas.painter.setRenderHint(QPainter::Antialiasing);
    canvas.painter.setRenderHint(QPainter::TextAntialiasing);
    const Frame frame = frameOf(item.layout, item.candidates.size());
    drawProblem(canvas, item, frame);
    for (size_t i = 0; i < item.candidates.size(); ++i)
        drawCandidate(canvas, item, frame, i);
}

// The ink of a line, widened by margin on either side.
QPainterPath inkOf(const Outline &outline, qreal margin)
{
    QPainterPathStroker stroker;
    stroker.setWidth(outline.pen + 2 * margin);
    stroker.setCapStyle(Qt::SquareCap);
    stroker.setJoinStyle(margin > 0 ? Qt::RoundJoin : Qt::MiterJoin);
    return stroker.createStroke(outline.path);
}

} // namespace

QImage paintItem(const Item &item, int scale)
{
    QImage image(pictureWidth * scale, pictureHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(scale, scale);
    drawItem(Canvas{p}, item);
    p.end();
    return image.convertToFormat(QImage::Format_Grayscale8);
}

std::vector<std::string> checkSpacing(const Item &item, qreal gap)
{
    QImage scratch(pictureWidth, pictureHeight, QImage::Format_RGB32);
    QPainter p(&scratch);
    std::vector<Outline> figures, rules;
    drawItem(Canvas{p, &figures, &rules}, item);
    p.end();

    std::vector<std::string> faults;
    auto tooClose = [&](const QPainterPath &widened, const Outline &other, const char *what) {
        if (!widened.boundingRect().intersects(other.path.boundingRect().adjusted(-other.pen, -other.pen, other.pen, other.pen))
            || !widened.intersects(inkOf(other, 0)))
            return;
        const QPointF at = widened.boundingRect().center();
        faults.push_back("item " + std::to_string(item.number) + ": a figure at (" + std::to_string(qRound(at.x())) + ", "
                         + std::to_string(qRound(at.y())) + ") comes within " + std::to_string(gap) + " pixels of " + what);
    };
    for (size_t i = 0; i < figures.size(); ++i) {
        const QPainterPath widened = inkOf(figures[i], gap);
        for (size_t j = i + 1; j < figures.size(); ++j)
            tooClose(widened, figures[j], "another figure");
        for (const Outline &rule : rules)
            tooClose(widened, rule, "a frame line");
    }
    return faults;
}

QRectF missingPlace(const Item &item)
{
    const Frame frame = frameOf(item.layout, item.candidates.size());
    if (item.layout == Layout::Field)
        return holeOf(frame);
    const int columns = columnsOf(item.layout), last = int(item.panels.size()) - 1;
    return QRectF(frame.problem.left() + (last % columns) * frame.cell, frame.problem.top() + (last / columns) * frame.cell,
                  frame.cell, frame.cell);
}

QRectF candidatePlace(const Item &item, size_t index)
{
    return frameOf(item.layout, item.candidates.size()).places.at(index);
}
