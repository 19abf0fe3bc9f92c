// The pieces a window's page is built of.

#include "windows/Form.h"
#include "engine/ItemLog.h"
#include "windows/Pictures.h"
#include "windows/RadioGroup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QLineEdit *Form::addSubjectField(const QString &editName, const QString &labelName)
{
    auto *row = new QHBoxLayout;
    row->addWidget(makeLabel(labelName, QStringLiteral("Испытуемый:")));
    subjectField = new QLineEdit(page);
    subjectField->setObjectName(editName);
    subjectField->setAccessibleName(QStringLiteral("Испытуемый"));
    subjectField->setReadOnly(true);
    subjectField->setFixedWidth(Width::subjectField);
    row->addWidget(subjectField);
    row->addStretch();
    content->addLayout(row);
    return subjectField;
}

QLineEdit *Form::addTitleBlock(const QString &subjectName, const TitleBlock &title)
{
    QLineEdit *subject = addSubjectField(subjectName);
    content->addSpacing(12);
    addHeading(title.headingName, title.heading);
    addCentredText(title.textName, title.text, title.textWidth);
    return subject;
}

QLabel *Form::makeLabel(const QString &objectName, const QString &text, TextStyle style)
{
    auto *label = new QLabel(text, page);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(text.size() > 90);
    label->setFont(textFont(style));
    return label;
}

QLabel *Form::addLabel(const QString &objectName, const QString &text, TextStyle style)
{
    QLabel *label = makeLabel(objectName, text, style);
    content->addWidget(label);
    return label;
}

QLabel *Form::addHeading(const QString &objectName, const QString &text)
{
    QLabel *heading = addLabel(objectName, text, TextStyle::Heading);
    heading->setAlignment(Qt::AlignCenter);
    return heading;
}

QLabel *Form::addCentredText(const QString &objectName, const QString &text, int maxWidth)
{
    QLabel *label = makeLabel(objectName, text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setMaximumWidth(maxWidth);
    // Centred by stretches, not by layout alignment: an aligned label is
    // given the height of its preferred width and cut off at any other.
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(label, 1000);
    row->addStretch(1);
    content->addLayout(row);
    return label;
}

QLineEdit *Form::makeField(const QString &objectName, const QString &question, int width, const LoggedAs &logged)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setAccessibleName(question);
    edit->setFixedWidth(width);
    if (logged.item.isEmpty())
        return edit;
    if (logged.withPage)
        pageItems << logged;
    connect(edit, &QLineEdit::textEdited, this,
            [this, item = logged.item](const QString &text) { itemLog().edited(item, text); });
    connect(edit, &QLineEdit::editingFinished, this, [this, item = logged.item] { itemLog().finished(item); });
    return edit;
}

QLineEdit *Form::addField(const QString &objectName, const QString &question)
{
    addLabel(objectName + QStringLiteral("Question"), question, TextStyle::Question);
    auto *edit = new QLineEdit;
    edit->setObjectName(objectName);
    edit->setAccessibleName(question);
    edit->setMaximumWidth(Width::questionField);
    content->addWidget(edit);
    return edit;
}

RadioGroup *Form::addQuestion(const QString &objectName, const QString &question, const QStringList &items,
                              int columns)
{
    addLabel(objectName + QStringLiteral("Question"), question, TextStyle::Question);
    return addRadioGroup(objectName, question, items, columns);
}

RadioGroup *Form::addRadioGroup(const QString &objectName, const QString &question, const QStringList &items,
                                int columns, const LoggedAs &logged)
{
    auto *group = new RadioGroup(objectName, question, items, columns);
    content->addWidget(group);
    if (logged.item.isEmpty())
        return group;
    if (logged.withPage)
        pageItems << logged;
    connect(group, &RadioGroup::clicked, this,
            [this, logged](int index) { itemLog().chose(logged.item, logged.values.value(index)); });
    return group;
}

DateFields Form::addDateFields(QBoxLayout *row, int firstEdit, const QString &question,
                               const Width::DateWidths &widths)
{
    auto addPart = [&](int offset, const QString &caption, int width, const QString &part) {
        const QString name = QStringLiteral("Edit") + QString::number(firstEdit + offset);
        if (offset > 0)
            row->addSpacing(widths.gap);
        row->addWidget(makeLabel(name + QStringLiteral("Caption"), caption));
        QLineEdit *edit = makeField(name, question + QStringLiteral(": ") + part, width);
        row->addWidget(edit);
        return edit;
    };
    return {addPart(0, QStringLiteral("дд"), widths.dayOrMonth, QStringLiteral("день")),
            addPart(1, QStringLiteral("мм"), widths.dayOrMonth, QStringLiteral("месяц")),
            addPart(2, QStringLiteral("гггг"), widths.year, QStringLiteral("год"))};
}

void Form::setFieldOpen(QLineEdit *field, bool open)
{
    field->setReadOnly(!open);
    field->setEnabled(open);
}

QHBoxLayout *Form::answerRow(const QString &captionName, QLineEdit *answer)
{
    auto *row = new QHBoxLayout;
    QLabel *caption = makeLabel(captionName, QStringLiteral("Ответ:"), TextStyle::Question);
    caption->setWordWrap(false);
    row->addWidget(caption);
    row->addWidget(answer);
    return row;
}

QLabel *Form::makePicture(const QString &objectName, const QPixmap &pixmap, const QString &description)
{
    auto *picture = new QLabel;
    picture->setObjectName(objectName);
    picture->setPixmap(pixmap);
    picture->setFixedSize(pixmap.deviceIndependentSize().toSize());
    picture->setAccessibleName(description);
    return picture;
}

QLabel *Form::addPicture(const QString &objectName, const QString &resource, const QString &description)
{
    QLabel *picture = makePicture(objectName, QPixmap::fromImage(pictureForScreens(resource)), description);
    content->addWidget(picture);
    return picture;
}

QPushButton *Form::forwardButton(const QString &objectName, const QString &caption,
                                 const std::function<void()> &handler)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(objectName);
    if (handler)
        connect(button, &QPushButton::clicked, this, handler);
    return button;
}
