#include "forms/Unit13.h"

#include "engine/ChoiceCodes.h"
#include "engine/DateTime.h"
#include "engine/ItemFile.h"
#include "engine/ResultsFile.h"
#include "engine/UploadAddress.h"
#include "windows/Messages.h"
#include "windows/RadioGroup.h"
#include "windows/ResultsUpload.h"
#include "windows/Texts.h"
#include "windows/UploadProgress.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList marks = {QStringLiteral("2 (неудовлетворительно)"), QStringLiteral("3 (удовлетворительно)"),
                           QStringLiteral("4 (хорошо)"), QStringLiteral("5 (отлично)")};
const QStringList markMeanings = {QStringLiteral("fail"), QStringLiteral("satisfactory"), QStringLiteral("good"),
                                  QStringLiteral("excellent")};

QStringList instrumentCodes()
{
    return choiceCodes(u"FinalMusicalInstrument", {QStringLiteral("yes"), QStringLiteral("no")});
}

QStringList algebraCodes()
{
    return choiceCodes(u"FinalAlgebraMark", markMeanings);
}

QStringList geometryCodes()
{
    return choiceCodes(u"FinalGeometryMark", markMeanings);
}

// Where to send the file: the study's address on a line of its own, which
// never breaks (at a hyphen, say), or without one, the address the
// organisers gave. A study that collects the files on its server asks for
// no e-mail.
QString thanksText(const StudySettings &study)
{
    if (!study.uploadUrl.isEmpty())
        return QStringLiteral("<p>Благодарим вас за прохождение тестирования. После нажатия на кнопку "
                              "\"Закончить\" результаты будут сохранены на этом компьютере и отправлены "
                              "организаторам исследования.</p>");
    const QString where = study.contactEmail.isEmpty()
        ? QStringLiteral("по электронному адресу, который вам дали организаторы исследования,")
        : QStringLiteral("по электронному адресу</p><p style=\"white-space: nowrap\">%1</p><p>")
              .arg(study.contactEmail.toHtmlEscaped());
    return QStringLiteral("<p>Благодарим вас за прохождение тестирования. После окончания отправьте файл с "
                          "результатами ")
        + where + QStringLiteral(" с пометкой \"Психологическое исследование\". </p>");
}

// With item data, the item file goes beside the results file: a place takes
// both or neither.
WriteBeside itemFileBeside(const Session &session)
{
    if (!session.settings.itemData)
        return {};
    return itemFilesBeside(session.items, session.record);
}

// Names every file saved, with its whole path as the system writes paths.
QString savedText(const StudySettings &study, const QString &resultsPath)
{
    const QString results = QDir::toNativeSeparators(resultsPath);
    if (!study.itemData)
        return QStringLiteral("Результаты сохранены в файл ") + results;
    return QStringLiteral("Результаты сохранены в файлы ") + results + QStringLiteral(" и ")
        + QDir::toNativeSeparators(itemFilePath(resultsPath));
}

// Why the files did not reach the organisers, where they are, and where
// to e-mail them instead.
QString notSentText(const StudySettings &study, const QString &resultsPath, ResultsUpload::Outcome outcome)
{
    const QString where = study.contactEmail.isEmpty()
        ? QStringLiteral("по электронному адресу, который вам дали организаторы исследования,")
        : QStringLiteral("по электронному адресу ") + study.contactEmail;
    return savedText(study, resultsPath) + QStringLiteral(", но не отправлены организаторам исследования: ")
        + ResultsUpload::reason(outcome) + QStringLiteral(".\n\nНажмите \"Повторить\", чтобы отправить снова, или ")
        + QStringLiteral("отправьте ") + (study.itemData ? QStringLiteral("оба файла ") : QStringLiteral("файл "))
        + where + QStringLiteral(" с пометкой \"Психологическое исследование\".");
}

// The names on the study's server for a number: the results file's, and the
// item file's with item data.
QStringList namesOnServer(const Session &session, int number)
{
    const QString results = resultsFileName(session.record, number);
    if (!session.settings.itemData)
        return {results};
    return {results, itemFilePath(results)};
}

} // namespace

TForm13::TForm13(Session &session, QWidget *owner)
    : Form(session, QStringLiteral("Завершение теста"), owner)
{
    Edit105 = addSubjectField(QStringLiteral("Edit105"));
    body()->addSpacing(12);
    RadioGroup1 = addQuestion(QStringLiteral("RadioGroup1"),
                              QStringLiteral("Умеете ли вы играть на каком-нибудь музыкальном инструменте?"),
                              {QStringLiteral("да"), QStringLiteral("нет")});
    RadioGroup2 = addQuestion(QStringLiteral("RadioGroup2"),
                              QStringLiteral("Какая у вас оценка по алгебре за последний отчётный период (триместр, "
                                             "полугодие)? Если вы уже закончили школу, то укажите оценку в аттестате."),
                              marks);
    RadioGroup3 = addQuestion(QStringLiteral("RadioGroup3"),
                              QStringLiteral("Какая у вас оценка по геометрии за последний отчётный период (триместр, "
                                             "полугодие)? Если вы уже закончили школу, то укажите оценку в аттестате."),
                              marks);
    Edit1 = addField(QStringLiteral("Edit1"), QStringLiteral("Кем вы хотите стать (работать)?"));
    Edit2 = addField(QStringLiteral("Edit2"), QStringLiteral("Электронный адрес или номер телефона для обратной связи:"));

    body()->addSpacing(12);
    QLabel *thanks = addLabel(QStringLiteral("Label6"), thanksText(session.settings));
    thanks->setTextFormat(Qt::RichText);
    thanks->setAlignment(Qt::AlignCenter);
    thanks->setTextInteractionFlags(Qt::TextSelectableByMouse); // the address, to copy

    Button1 = forwardButton(QStringLiteral("Button1"), QStringLiteral("Закончить"), &TForm13::Button1Click);
    body()->addWidget(Button1, 0, Qt::AlignCenter);

    QLabel *warning = addLabel(QStringLiteral("Label7"),
                                QStringLiteral("Внимание! Завершите программу нажатием на кнопку \"Закончить\". Не "
                                               "нажимайте на красный крестик в правом верхнем углу, иначе результаты "
                                               "не сохранятся."));
    warning->setAlignment(Qt::AlignCenter);
    body()->addStretch();

    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm13::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::clicked, this, &TForm13::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::clicked, this, &TForm13::RadioGroup3Click);
}

void TForm13::RadioGroup1Click()
{
    FinalInstrumentAnswered = 1;
    run().FinalMusicalInstrument = RadioGroup1->code(instrumentCodes());
}

void TForm13::RadioGroup2Click()
{
    FinalAlgebraAnswered = 1;
    run().FinalAlgebraMark = RadioGroup2->code(algebraCodes());
}

void TForm13::RadioGroup3Click()
{
    FinalGeometryAnswered = 1;
    run().FinalGeometryMark = RadioGroup3->code(geometryCodes());
}

void TForm13::Button1Click()
{
    if (FinalInstrumentAnswered != 1 || FinalAlgebraAnswered != 1 || FinalGeometryAnswered != 1
        || Edit1->text().isEmpty() || Edit2->text().isEmpty())
        return showMessage(QStringLiteral("Ответьте на все вопросы!"));
    if (!textsCanBeSaved({{Edit1, QStringLiteral("Кем вы хотите стать (работать)")},
                          {Edit2, QStringLiteral("Электронный адрес или номер телефона")}}))
        return;

    guarded(texts::unknownError, [this] {
        RunRecord &r = run();
        const double FinalFinishMoment = now();
        r.FinalFinishTime = timeText(FinalFinishMoment);
        const double FinalDurationValue = session().runDays();
        r.FinalDuration = durationText(FinalDurationValue);
        r.FinalCareer = Edit1->text();
        r.FinalContact = Edit2->text();
        try {
            resultsFile = writeResultsFile(r, resultsFile, itemFileBeside(session()));
        } catch (const SaveFailure &failure) {
            if (!savedWhereChosen(failure.reason))
                return;
        }
        session().endJournal(); // saved: the run needs no journal, even if sending is cut short
        if (session().settings.uploadUrl.isEmpty())
            showMessage(savedText(session().settings, resultsFile.path));
        else
            sendToOrganisers();
        closeAll();
    });
}

// The saved files go to the study's server as well. Until they arrive, the
// subject may try again or finish, having read where the files are and
// where to e-mail them.
void TForm13::sendToOrganisers()
{
    const StudySettings &study = session().settings;
    QStringList files{resultsFile.path};
    if (study.itemData)
        files << itemFilePath(resultsFile.path);
    ResultsUpload upload(uploadAddress(study.uploadUrl, study.uploadPassword), files,
                         [&session = session()](int number) { return namesOnServer(session, number); });
    enum Answer { Retry, Finish };
    for (;;) {
        const ResultsUpload::Outcome outcome = sendShowingProgress(upload, this);
        if (outcome == ResultsUpload::Outcome::Sent)
            return showMessage(savedText(study, resultsFile.path)
                               + QStringLiteral(" и отправлены организаторам исследования."));
        if (askMessage(notSentText(study, resultsFile.path, outcome),
                       {QStringLiteral("Повторить"), QStringLiteral("Завершить")}, Finish)
            != Retry)
            return;
    }
}

// No folder of its own took the file: the subject hears why and may choose
// any folder that can, a USB stick included, as often as it takes. Giving up
// leaves the window and the run as they are.
bool TForm13::savedWhereChosen(QString reason)
{
    enum Answer { ChooseFolder, Close };
    for (;;) {
        if (askMessage(texts::unknownError + u'\n' + reason,
                       {QStringLiteral("Выбрать папку…"), QStringLiteral("Закрыть")}, Close)
            != ChooseFolder)
            return false;
        const QString folder = chooseFolder(QStringLiteral("Папка для файла результатов"));
        if (folder.isEmpty())
            return false;
        try {
            resultsFile = writeResultsFileIn(folder, run(), itemFileBeside(session()));
            return true;
        } catch (const SaveFailure &failure) {
            reason = failure.reason;
        }
    }
}
