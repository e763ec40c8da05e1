#include "formmain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("KVT515");
    TFormMain form;
    form.show();
    return app.exec();
}
