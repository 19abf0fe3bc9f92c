#include "forms/Unit12.h"

#include "engine/DateTime.h"
#include "engine/Failure.h"
#include "engine/ItemIds.h"
#include "engine/MonotonicClock.h"
#include "engine/Numbers.h"
#include "windows/JpegImage.h"
#include "windows/Messages.h"
#include "windows/Pictures.h"
#include "windows/Texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int itemSpacing = 48;

const QString instructions = QStringLiteral(
    "Вам будет предложено 15 заданий, в каждом из которых есть основное изображение (сверху), имеющее "
    "определенный фон или составные элементы (фигуры), связанные между собой определенной зависимостью. При этом в "
    "нижнем правом углу основного изображения не хватает фрагмента или элемента. Вы должны установить закономерность, связывающую между собой элементы изображения и "
    "выбрать среди предлагаемых вариантов ответа (снизу) недостающий элемент, введя его номер в "
    "соответствующее поле.");

} // namespace

TForm12::TForm12(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Прогрессивные матрицы Равена"), owner)
{
    setItemTask(task::matrices);
    Edit105 = addTitleBlock(QStringLiteral("Edit105"),
                            {QStringLiteral("Label35"), QStringLiteral("Прогрессивные матрицы Равена (экспресс-тест)"),
                             QStringLiteral("Label36"), instructions, Width::matricesInstructions});
    body()->addSpacing(itemSpacing);

    Button1 = forwardButton(QStringLiteral("Button1"), texts::onward, &TForm12::Button1Click);
    for (int item = 1; item <= ravenItemCount; ++item)
        addItem(item);
    body()->addStretch();
}

QImage TForm12::picture(int item)
{
    return pictureForScreens(QStringLiteral(":/raven/item%1.jpg").arg(item, 2, 10, QLatin1Char('0')), loadJpeg);
}

// One item: its number at the left, the picture unscaled to its right, and
// under the picture "Ответ:" with the answer field; the last one also carries
// the forward button.
void TForm12::addItem(int item)
{
    const QString number = QString::number(item);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(makeLabel(QStringLiteral("ItemNumber") + number, number + u'.', TextStyle::Question), 0, 0,
                    Qt::AlignTop);

    QLabel *image = makePicture(QStringLiteral("Image") + number,
                                QPixmap::fromImage(picture(item), Qt::NoFormatConversion),
                                QStringLiteral("Задание %1: рисунок с недостающим фрагментом и варианты ответа").arg(item));
    grid->addWidget(image, 0, 1, Qt::AlignLeft);

    QLineEdit *edit = makeField(QStringLiteral("Edit") + number,
                                QStringLiteral("Задание %1. Номер недостающего элемента").arg(item),
                                Width::answerField, {matrixItem(item)});
    // The window's time is kept with each answer: a window taken up again
    // starts empty, but the time spent on it counts.
    connect(edit, &QLineEdit::editingFinished, this, &Form::progressed);
    QHBoxLayout *answer = answerRow(QStringLiteral("AnswerCaption") + number, edit);
    if (item == ravenItemCount) {
        answer->addSpacing(24);
        answer->addWidget(Button1);
    }
    answer->addStretch();
    grid->addLayout(answer, 1, 1);
    grid->setColumnStretch(2, 1);

    body()->addLayout(grid);
    body()->addSpacing(itemSpacing);
    Images[item - 1] = image;
    Edits[item - 1] = edit;
}

void TForm12::Button1Click()
{
    RunRecord &r = run();
    r.RavenTotal = 0;
    r.RavenBlock1 = r.RavenBlock2 = r.RavenBlock3 = r.RavenBlock4 = r.RavenBlock5 = 0;
    for (const QLineEdit *edit : Edits)
        if (edit->text().isEmpty())
            return showMessage(QStringLiteral("Выполнены не все задания!"));

    guarded(texts::wrongData, [this, &r] {
        for (int item = 0; item < ravenItemCount; ++item)
            RavenAnswer[item] = valueOf(parseInteger(Edits[item]->text()));
        const RavenScore score = scoreRaven(RavenAnswer);
        r.RavenTotal = score.total;
        r.RavenBlock1 = score.blocks[0];
        r.RavenBlock2 = score.blocks[1];
        r.RavenBlock3 = score.blocks[2];
        r.RavenBlock4 = score.blocks[3];
        r.RavenBlock5 = score.blocks[4];
        r.RavenDurationText = durationText(monotonicDaysSince(r.RavenStartMonotonic));
        forward();
    });
}
