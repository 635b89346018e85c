#include "ui/main/TForm1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Program Updater"));
    resize(441, 316);
}
