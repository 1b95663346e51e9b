// The floor for the start-up benchmark: the least a Qt Widgets program does
// to ask a name, with the same title as the real prompt.
#include <QApplication>
#include <QInputDialog>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QInputDialog box;
    box.setWindowTitle(QStringLiteral("Decalumo"));
    box.setLabelText(QStringLiteral("Come ti chiami?"));
    box.setInputMode(QInputDialog::TextInput);
    return box.exec() == QDialog::Accepted ? 0 : 1;
}
