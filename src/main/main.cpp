#include "forms/Unit1.h"
#include "windows/Form.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setFont(Form::textFont(TextStyle::Plain));

    auto *first = new TForm1;
    currentInstance<TForm1> = first;
    first->present();

    const int status = app.exec();
    Form::disposeAll();
    return status;
}
