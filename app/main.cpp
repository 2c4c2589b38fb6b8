#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 0;
    QLabel placeholder(QString::fromLocal8Bit(argv[1]));
    placeholder.show();
    return app.exec();
}
