// The list panels of the list pages, driven as a user drives them: buttons clicked, lines
// selected, group dialogs filled in with keys and closed with OK or Cancel.
#include "FullForm.h"
#include "ListTestSupport.h"

#include "catalog/GroupCatalog.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>

#include <memory>

namespace {

const std::wstring kSnkVoltage = SinkPdoNames().voltage;
const std::wstring kSnkCurrent = SinkPdoNames().current;

// A port form with three Source PDOs, two Sink PDOs and two SOP SVIDs of two modes each, with
// optional text replaced in it.
std::string PortForm(const std::string& from = {}, const std::string& to = {}) {
    std::string text = orvik::testsupport::FullPortForm(3, 2, 2, 2);
    if (!from.empty()) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

// Fills Sink PDO `n`: fixed supply, the voltage and current, each where the dialog lets the user.
CDialogScript::Step FillSinkPdo(int n, QString voltage, QString current, bool ok = true) {
    return [=](CGroupDialog& d) {
        const QString number = QString::number(n);
        auto* supply = d.findChild<QComboBox*>(QStringLiteral("Snk_PDO_Supply_Type") + number);
        QVERIFY(supply);
        if (supply->isEnabled()) {
            ChooseIn(d, supply->objectName(), QStringLiteral("0 : Fixed"));
        }
        auto* volts = d.findChild<QLineEdit*>(QStringLiteral("Snk_PDO_Voltage") + number);
        QVERIFY(volts);
        if (volts->isEnabled()) {
            TypeInto(d, volts->objectName(), voltage);
        }
        TypeInto(d, QStringLiteral("Snk_PDO_Op_Current") + number, current);
        if (ok) {
            PressOk(d);
        } else {
            PressCancel(d);
        }
    };
}

void ClickLine(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(item).center());
}

QStringList EnabledEntries(QMenu* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            entries << action->text();
        }
    }
    return entries;
}

} // namespace

class ListPanelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CListPanel* OpenSink(const std::string& bytes = PortForm()) {
        f = std::make_unique<CUiFixture>(bytes);
        f->ClickTab(EPage::Sink);
        return Shown(qobject_cast<CListPanel*>(f->window->View(EPage::Sink)->ListPanel()));
    }
    // A page built on its first visit shows its new widgets from the event loop.
    static CListPanel* Shown(CListPanel* panel) {
        if (panel && !QTest::qWaitFor([panel] { return panel->isVisible(); })) {
            return nullptr;
        }
        return panel;
    }
    CFieldGroupList& SinkList() const { return f->sheet.GetGroupList(EGroupType::SinkPdo); }

private slots:
    void cleanup() { f.reset(); }

    void listPagesHaveAPanelWithLabelLinesButtonsAndTips() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        QVERIFY(panel->isVisibleTo(f->window.get()));
        QCOMPARE(panel->Label()->text(), QStringLiteral("Sink PDOs"));
        QCOMPARE(panel->List()->count(), 2);
        QVERIFY(panel->List()->item(0)->text().startsWith(QStringLiteral("PDO 1 - ")));
        QVERIFY(panel->List()->item(1)->text().startsWith(QStringLiteral("PDO 2 - ")));
        QCOMPARE(panel->AddButton()->text(), QStringLiteral("Add..."));
        QCOMPARE(panel->EditButton()->text(), QStringLiteral("Edit..."));
        QCOMPARE(panel->InsertButton()->text(), QStringLiteral("Insert..."));
        QCOMPARE(panel->DeleteButton()->text(), QStringLiteral("Delete"));
        QCOMPARE(panel->ClearButton()->text(), QStringLiteral("Clear"));
        QCOMPARE(panel->List()->toolTip(), QStringLiteral("Defined Sink PDOs."));
        QCOMPARE(panel->AddButton()->toolTip(), QStringLiteral("Add a new Sink PDO to the list."));
        QCOMPARE(panel->EditButton()->toolTip(), QStringLiteral("Edit the selected Sink PDO."));
        QCOMPARE(panel->InsertButton()->toolTip(),
                 QStringLiteral("Insert a new Sink PDO immediately before the selected one."));
        QCOMPARE(panel->DeleteButton()->toolTip(), QStringLiteral("Delete the selected Sink PDO."));
        QCOMPARE(panel->ClearButton()->toolTip(), QStringLiteral("Remove all Sink PDOs in the list."));
        // Shown with items and no remembered selection: the first line is selected.
        QCOMPARE(panel->List()->currentRow(), 0);
        QVERIFY(panel->EditButton()->isEnabled());
        QVERIFY(!CUiFixture::IsMarkedInvalid(panel->Label()));
        // Pages without a list have no panel; the SVID page's panel has its own names.
        QVERIFY(!f->window->View(EPage::Intro)->ListPanel());
        f->ClickTab(EPage::SOPDiscovery2);
        CListPanel* svids =
            Shown(qobject_cast<CListPanel*>(f->window->View(EPage::SOPDiscovery2)->ListPanel()));
        QVERIFY(svids);
        QCOMPARE(svids->Label()->text(), QStringLiteral("SOP SVIDs"));
        QCOMPARE(svids->List()->toolTip(), QStringLiteral("Defined SVIDs."));
        QCOMPARE(svids->DeleteButton()->toolTip(), QStringLiteral("Delete the selected SVID."));
    }

    void addDeleteAndInsertKeepNumbersEqualToPositions() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        const QString voltage = GroupValue(SinkList(), 1, kSnkVoltage);
        const QString current = GroupValue(SinkList(), 1, kSnkCurrent);
        CDialogScript script(*f->window);
        script.Then(FillSinkPdo(3, voltage, QStringLiteral("150")));
        // The lines are rebuilt once for the Add, not again by every party that hears of it.
        QSignalSpy rebuilds(panel->List()->model(), &QAbstractItemModel::modelReset);
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(rebuilds.count(), 1);
        QCOMPARE(script.captions, QStringList{QStringLiteral("Sink PDO 3")});
        QCOMPARE(SinkList().Size(), std::size_t{3});
        QCOMPARE(panel->List()->count(), 3);
        QVERIFY(panel->List()->item(2)->text().startsWith(QStringLiteral("PDO 3 - ")));
        QCOMPARE(panel->List()->currentRow(), 2);
        // Two PDOs announced, three defined: the list fails its check, label and tab go red.
        QVERIFY(CUiFixture::IsMarkedInvalid(panel->Label()));
        QVERIFY(f->CaptionRed(EPage::Sink));

        // Deleting the second renumbers the third to 2.
        ClickLine(panel->List(), 1);
        QCOMPARE(panel->Editor().Selection(), 1);
        QTest::mouseClick(panel->DeleteButton(), Qt::LeftButton);
        QCOMPARE(SinkList().Size(), std::size_t{2});
        QCOMPARE(SinkList().At(1).InstanceNumber(), 2);
        QCOMPARE(GroupValue(SinkList(), 1, kSnkCurrent), QStringLiteral("150"));
        QVERIFY(panel->List()->item(1)->text().startsWith(QStringLiteral("PDO 2 - ")));
        QCOMPARE(panel->List()->currentRow(), 1);
        QVERIFY(!CUiFixture::IsMarkedInvalid(panel->Label()));
        QVERIFY(!f->CaptionRed(EPage::Sink));

        // Inserting before item 1: the new group is 1, every other number moves up by one.
        ClickLine(panel->List(), 0);
        script.Then(FillSinkPdo(1, voltage, current));
        QTest::mouseClick(panel->InsertButton(), Qt::LeftButton);
        QCOMPARE(script.captions.last(), QStringLiteral("Sink PDO 1"));
        QCOMPARE(SinkList().Size(), std::size_t{3});
        for (std::size_t i = 0; i < 3; ++i) {
            QCOMPARE(SinkList().At(i).InstanceNumber(), static_cast<int>(i) + 1);
            QVERIFY(panel->List()
                        ->item(static_cast<int>(i))
                        ->text()
                        .startsWith(QStringLiteral("PDO %1 - ").arg(i + 1)));
        }
        QCOMPARE(GroupValue(SinkList(), 2, kSnkCurrent), QStringLiteral("150"));
        QCOMPARE(panel->List()->currentRow(), 0);
        QStringList expected;
        for (const std::wstring& line : panel->Editor().Lines()) {
            expected << QString::fromStdWString(line);
        }
        QCOMPARE(LinesOf(panel->List()), expected);
    }

    void deletingTheLastSelectsTheNewLastAndTheOnlyLeavesNothing() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        ClickLine(panel->List(), 1);
        QTest::mouseClick(panel->DeleteButton(), Qt::LeftButton);
        QCOMPARE(panel->List()->count(), 1);
        QCOMPARE(panel->List()->currentRow(), 0);
        QVERIFY(panel->List()->item(0)->isSelected());
        QVERIFY(panel->EditButton()->isEnabled() && panel->InsertButton()->isEnabled());
        QVERIFY(panel->DeleteButton()->isEnabled() && panel->ClearButton()->isEnabled());

        QTest::mouseClick(panel->DeleteButton(), Qt::LeftButton);
        QCOMPARE(panel->List()->count(), 0);
        QCOMPARE(panel->Editor().Selection(), -1);
        QVERIFY(panel->List()->selectedItems().isEmpty());
        QVERIFY(panel->AddButton()->isEnabled());
        QVERIFY(!panel->EditButton()->isEnabled());
        QVERIFY(!panel->InsertButton()->isEnabled());
        QVERIFY(!panel->DeleteButton()->isEnabled());
        QVERIFY(!panel->ClearButton()->isEnabled());
        QVERIFY(SinkList().Empty());
    }

    void cancellingAnAddLeavesListAndNumbersAlone() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        const QStringList before = LinesOf(panel->List());
        CDialogScript script(*f->window);
        script.Then(FillSinkPdo(3, QStringLiteral("100"), QStringLiteral("100"), false));
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
        QCOMPARE(LinesOf(panel->List()), before);
        QCOMPARE(SinkList().Size(), std::size_t{2});
        QCOMPARE(SinkList().At(1).InstanceNumber(), 2);
        // Escape is a cancel too.
        script.Then([](CGroupDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(SinkList().Size(), std::size_t{2});
        QVERIFY(!panel->Editor().Working());
    }

    void redLineTurnsBlackAfterEditAndTheTabWithIt() {
        CListPanel* panel = OpenSink(PortForm("Snk_PDO_Op_Current2: 300", "Snk_PDO_Op_Current2: "));
        QVERIFY(panel);
        QVERIFY(!LineRed(panel->List(), 0));
        QVERIFY(LineRed(panel->List(), 1));
        QVERIFY(f->CaptionRed(EPage::Sink));
        // Red also while selected: the delegate keeps red text on the darker highlight.
        ClickLine(panel->List(), 1);
        QStyleOptionViewItem option;
        option.initFrom(panel->List());
        option.state |= QStyle::State_Selected;
        struct CProbe : CListLineDelegate {
            using CListLineDelegate::CListLineDelegate;
            using CListLineDelegate::initStyleOption;
        } probe;
        const QColor highlight = option.palette.color(QPalette::Highlight);
        probe.initStyleOption(&option, panel->List()->model()->index(1, 0));
        QCOMPARE(option.palette.color(QPalette::HighlightedText), QColor(255, 0, 0));
        QCOMPARE(option.palette.color(QPalette::Highlight).red(), highlight.red() / 2);
        const QByteArray pictures = qgetenv("ORVIK_SCREENSHOT_DIR");
        if (!pictures.isEmpty()) {
            QTest::qWait(20);
            QVERIFY(f->window->grab().save(QString::fromLocal8Bit(pictures) +
                                           QStringLiteral("/list-red-line.png")));
        }

        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) {
            TypeInto(d, QStringLiteral("Snk_PDO_Op_Current2"), QStringLiteral("300"));
            PressOk(d);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.captions, QStringList{QStringLiteral("Sink PDO 2")});
        QCOMPARE(GroupValue(SinkList(), 1, kSnkCurrent), QStringLiteral("300"));
        QVERIFY(!LineRed(panel->List(), 1));
        QCOMPARE(panel->List()->currentRow(), 1);
        QVERIFY(f->CaptionDefault(EPage::Sink));
    }

    void labelFollowsTheAnnouncedCountOnThePage() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        QVERIFY(!CUiFixture::IsMarkedInvalid(panel->Label()));
        f->Clear(QStringLiteral("Num_Snk_PDOs"));
        f->Type(QStringLiteral("Num_Snk_PDOs"), QStringLiteral("3"));
        QVERIFY(CUiFixture::IsMarkedInvalid(panel->Label()));
        QVERIFY(f->CaptionRed(EPage::Sink));
        f->Clear(QStringLiteral("Num_Snk_PDOs"));
        f->Type(QStringLiteral("Num_Snk_PDOs"), QStringLiteral("2"));
        QVERIFY(!CUiFixture::IsMarkedInvalid(panel->Label()));
    }

    void doubleClickEditsTheLine() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) { PressCancel(d); });
        QListWidget* list = panel->List();
        ClickLine(list, 1);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(1)).center());
        QCOMPARE(script.captions, QStringList{QStringLiteral("Sink PDO 2")});
    }

    void contextMenuEntriesFollowTheListInItsThreeStates() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        QListWidget* list = panel->List();
        // Opened with the menu key over the list: the "ListBox Manager" with its entries in order.
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, list->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list->viewport(), &event);
        QMenu* menu = panel->ContextMenu();
        QVERIFY(menu);
        QCOMPARE(menu->title(), QStringLiteral("ListBox Manager"));
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(texts, (QStringList{"Edit...", "Insert...", "Delete", "-", "Add...", "Clear"}));
        QCOMPARE(EnabledEntries(menu), (QStringList{"Edit...", "Insert...", "Delete", "Add...", "Clear"}));
        menu->close();

        // Items but nothing selected.
        ClickLine(list, 0, Qt::ControlModifier);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(panel->Editor().Selection(), -1);
        QVERIFY(!panel->EditButton()->isEnabled());
        std::unique_ptr<QMenu> none(panel->BuildContextMenu(nullptr));
        QCOMPARE(EnabledEntries(none.get()), (QStringList{"Add...", "Clear"}));

        // Empty: only Add.
        QTest::mouseClick(panel->ClearButton(), Qt::LeftButton);
        QVERIFY(SinkList().Empty());
        std::unique_ptr<QMenu> empty(panel->BuildContextMenu(nullptr));
        QCOMPARE(EnabledEntries(empty.get()), QStringList{"Add..."});

        // The menu's Add runs the Add.
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) { PressCancel(d); });
        for (QAction* action : empty->actions()) {
            if (action->text() == QStringLiteral("Add...")) {
                action->trigger();
            }
        }
        QCOMPARE(script.captions, QStringList{QStringLiteral("Sink PDO 1")});
    }

    void longLinesScrollSideways() {
        CListPanel* panel = OpenSink();
        QVERIFY(panel);
        QListWidget* list = panel->List();
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (int i = 0; i < list->count(); ++i) {
            widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
        }
        QCOMPARE(panel->ContentWidth(), widest + metrics.averageCharWidth());
        f->window->resize(300, 600);
        QTRY_VERIFY(list->viewport()->width() < widest);
        QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(ListPanelTest)
#include "ListPanelTest.moc"
