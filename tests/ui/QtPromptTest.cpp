// The real boxes: each belongs to the window the user was working in, which the window system then
// gives the keyboard back.
#include "ui/QtPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

class QtPromptTest : public QObject {
    Q_OBJECT

private slots:
    void aBoxFromADialogBelongsToTheDialog() {
        QWidget sheet;
        sheet.resize(400, 300);
        sheet.show();
        CQtPrompt prompt(&sheet);

        QDialog dialog(&sheet);
        dialog.setWindowModality(Qt::WindowModal);
        auto* edit = new QLineEdit(&dialog);
        dialog.show();
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        edit->setFocus();

        QPointer<QWidget> owner;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            owner = box->parentWidget();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        prompt.ShowError(L"Source PDO 2 dialog not filled out or invalid data entered.");
        QCOMPARE(owner.data(), &dialog);
        QCOMPARE(prompt.Owner(), &dialog);

        // Without a dialog open, a box belongs to the sheet.
        dialog.close();
        QCOMPARE(prompt.Owner(), &sheet);
    }
};

QTEST_MAIN(QtPromptTest)
#include "QtPromptTest.moc"
