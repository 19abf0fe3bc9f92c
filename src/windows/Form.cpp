#include "windows/Form.h"

#include "engine/Cp1251.h"
#include "engine/Failure.h"
#include "engine/ItemLog.h"
#include "windows/Messages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int notch = 120;
constexpr int pixelsPerNotch = 10;

QList<QPointer<Form>> &allForms()
{
    static QList<QPointer<Form>> forms;
    return forms;
}

// Set while the program closes its windows itself, after the results are saved.
bool closingAll = false;

} // namespace

Form::Form(Session &session, const QString &caption, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
    , ownSession(session)
{
    allForms().append(this);
    setWindowTitle(caption);
    resize(890, 640);

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scrollArea = new QScrollArea(this);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The wheel scrolls by the same step over the page and over its scroll bars.
    for (QWidget *wheelTarget : {scrollArea->viewport(), static_cast<QWidget *>(scrollArea->verticalScrollBar()),
                                 static_cast<QWidget *>(scrollArea->horizontalScrollBar())})
        wheelTarget->installEventFilter(this);
    outer->addWidget(scrollArea);

    page = new QWidget;
    page->setObjectName(QStringLiteral("Page"));
    page->setPalette(white);
    page->setAutoFillBackground(true);
    page->setFont(textFont(TextStyle::Plain));
    content = new QVBoxLayout(page);
    content->setContentsMargins(24, 24, 24, 24);
    content->setSpacing(10);
    scrollArea->setWidget(page);
}

Form::~Form()
{
    allForms().removeAll(this);
}

// The window on screen for the first time: its task's items and times
// start here, not when it was made.
void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (shownBefore)
        return;
    shownBefore = true;
    itemLog().windowShown(itemTask, QString::fromLatin1(metaObject()->className()));
    for (const LoggedAs &item : std::as_const(pageItems))
        itemLog().presented(item.item, item.stimulus);
}

void Form::present()
{
    showMaximized();
    activateWindow();
}

void Form::FormMouseWheelDown()
{
    scrollBy(pixelsPerNotch);
}

void Form::FormMouseWheelUp()
{
    scrollBy(-pixelsPerNotch);
}

void Form::scrollBy(int pixels)
{
    QScrollBar *bar = scrollArea->verticalScrollBar();
    bar->setValue(bar->value() + pixels); // the bar clamps to its range
}

void Form::scrollSideways(int pixels)
{
    QScrollBar *bar = scrollArea->horizontalScrollBar();
    bar->setValue(bar->value() + pixels);
}

// A window left behind is never shown again.
void Form::handOverTo(Form *next)
{
    next->setSubject(subjectText());
    itemLog().windowLeft(QString::fromLatin1(metaObject()->className()));
    hide();
    deleteLater();
}

QString Form::subjectText() const
{
    return run().InfoSurname + u' ' + run().InfoName;
}

void Form::closeAll()
{
    closingAll = true;
    const auto forms = allForms();
    for (const QPointer<Form> &form : forms)
        if (form)
            form->close();
    closingAll = false;
}

void Form::disposeAll()
{
    const auto forms = allForms();
    for (const QPointer<Form> &form : forms)
        delete form.data();
}

void Form::setSubject(const QString &text)
{
    if (subjectField)
        subjectField->setText(text);
}

QFont Form::textFont(TextStyle style)
{
    // Where Times New Roman is missing (Linux), its metric twin is named
    // outright: asking for a missing family costs a search for substitutes
    // with every font.
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &name : {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")})
            if (installed.contains(name))
                return name;
        return QStringLiteral("Times New Roman");
    }();
    QFont font(family);
    font.setPointSize(style == TextStyle::Heading ? 14 : 12);
    font.setBold(style == TextStyle::Question || style == TextStyle::Heading);
    font.setItalic(style == TextStyle::Hint);
    return font;
}

void Form::guarded(const QString &catchAll, const std::function<void()> &work)
{
    try {
        work();
    } catch (...) {
        showMessage(catchAll);
    }
}

bool Form::textsCanBeSaved(const QList<SavedText> &texts)
{
    for (const SavedText &text : texts) {
        QStringList unsaved;
        for (const char32_t c : text.field->text().toUcs4()) {
            const QString character = QString::fromUcs4(&c, 1);
            if (!encodableInCp1251(character) && !unsaved.contains(character))
                unsaved << character;
        }
        if (unsaved.isEmpty())
            continue;
        showMessage(QStringLiteral("В поле «%1» есть знаки, которые не сохраняются в файле результатов: %2\n"
                                   "Замените их русскими или латинскими буквами, цифрами или обычными знаками "
                                   "препинания.")
                        .arg(text.name, unsaved.join(u' ')));
        text.field->setFocus();
        return false;
    }
    return true;
}

void Form::closeEvent(QCloseEvent *event)
{
    // Closing any window ends the run, so that no invisible program stays
    // behind; as the answers are then lost, only once the subject confirms.
    enum Answer { Abort, Continue };
    if (!closingAll
        && askMessage(QStringLiteral("Прервать тестирование? Ответы не будут сохранены."),
                      {QStringLiteral("Прервать"), QStringLiteral("Продолжить")}, Continue)
            != Abort) {
        event->ignore();
        return;
    }
    if (!closingAll)
        ownSession.endJournal(); // the subject withdrew: nothing of the run may stay
    event->accept();
    QCoreApplication::quit();
}

bool Form::eventFilter(QObject *watched, QEvent *event)
{
    const bool overScrollArea = watched == scrollArea->viewport() || watched == scrollArea->verticalScrollBar()
        || watched == scrollArea->horizontalScrollBar();
    if (!overScrollArea || event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    const QPoint turned = static_cast<QWheelEvent *>(event)->angleDelta();
    wheelDelta += turned.y();
    for (; wheelDelta >= notch; wheelDelta -= notch)
        FormMouseWheelUp();
    for (; wheelDelta <= -notch; wheelDelta += notch)
        FormMouseWheelDown();
    // Sideways, from a tilting wheel or a touchpad: the same step, to the
    // left for a positive turn as Qt counts it.
    sidewaysDelta += turned.x();
    for (; sidewaysDelta >= notch; sidewaysDelta -= notch)
        scrollSideways(-pixelsPerNotch);
    for (; sidewaysDelta <= -notch; sidewaysDelta += notch)
        scrollSideways(pixelsPerNotch);
    return true; // the scroll area must not scroll by its own step as well
}
