// The window driven as a user drives it: tabs clicked, keys typed, items chosen, buttons pressed,
// with the boxes' answers scripted.
#include "FullForm.h"
#include "UiTestBase.h"
#include "ui/ProblemsPanel.h"
#include "ui/QtPrompt.h"

#include "model/FieldKinds.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace {

int Shown(const CScriptedPrompt& prompt, CScriptedPrompt::Shown::Kind kind, const std::wstring& text) {
    int n = 0;
    for (const auto& s : prompt.History()) {
        n += s.kind == kind && s.text == text;
    }
    return n;
}

// Every tab visited, as a user must before the form can be saved; ends on the first tab.
void VisitAll(CUiFixture& f) {
    for (EPage page : std::vector<EPage>(f.window->TabPages())) {
        f.ClickTab(page);
    }
    f.ClickTab(EPage::Intro);
}

} // namespace

class SheetWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

private slots:
    void cleanup() { f.reset(); }

    // ---- start-up ----

    void newWindowHasTitleButtonsAndTheTabsTheSheetShows() {
        f = std::make_unique<CUiFixture>();
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2"));
        const Qt::WindowFlags flags = f->window->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowMaximizeButtonHint);
        QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
        QVERIFY(f->window->OkButton() && f->window->ApplyButton() && f->window->CancelButton());
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
    }

    void labelsArePrintableNamesWithoutDollarInFormOrder() {
        f = std::make_unique<CUiFixture>();
        CPageView* view = f->window->View(EPage::Intro);
        QVERIFY(view->IsBuilt());
        const CFieldList& fields = f->sheet.Page(EPage::Intro).Fields();
        QCOMPARE(view->Form()->rowCount(), static_cast<int>(fields.Size()));
        for (int row = 0; row < view->Form()->rowCount(); ++row) {
            auto* label = qobject_cast<QLabel*>(view->Form()->itemAt(row, QFormLayout::LabelRole)->widget());
            QWidget* input = view->Form()->itemAt(row, QFormLayout::FieldRole)->widget();
            QString name =
                QString::fromStdWString(fields.At(static_cast<std::size_t>(row))->GetPrintableName());
            name.remove(0, name.startsWith(QLatin1Char('$')) ? 1 : 0);
            QCOMPARE(label->text(), name);
            QCOMPARE(input->objectName(), name);
            QCOMPARE(label->buddy(), input);
            QCOMPARE(input->accessibleName(), name);
        }
        QWidget* vendor = f->Input(QStringLiteral("Vendor_Name"));
        QCOMPARE(vendor->accessibleDescription(),
                 QStringLiteral("The name of the vendor, as supplied by the vendor."));
        // Wrapped to the tip's width, the help and the pointer to the specification.
        QTextDocument tip;
        tip.setHtml(vendor->toolTip());
        QCOMPARE(tip.toPlainText().simplified(),
                 QStringLiteral("The name of the vendor, as supplied by the vendor. See the "
                                "Marnel File specification for more information."));
        QCOMPARE(vendor->toolTipDuration(), 30000);
    }

    void pagesAreBuiltOnlyWhenFirstShown() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        QVERIFY(f->window->TabIndexOf(EPage::OrvikProduct) > 0);
        QVERIFY(!f->window->View(EPage::OrvikProduct)->IsBuilt());
        QVERIFY(!f->sheet.Page(EPage::OrvikProduct).HasWindow());
        QVERIFY(!f->Input(QStringLiteral("Connector_Type")));
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::OrvikProduct);
        QVERIFY(f->window->View(EPage::OrvikProduct)->IsBuilt());
        QVERIFY(f->sheet.Page(EPage::OrvikProduct).HasWindow());
        QVERIFY(f->Input(QStringLiteral("Connector_Type")));
    }

    void aValueTheSheetSetsOnAHiddenPageIsInItsBoxAndShowsWithThePage() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::General);
        f->ClickTab(EPage::Intro);
        QLineEdit* box = f->Edit(QStringLiteral("Num_Fixed_Batteries"));
        QVERIFY(box && !box->isVisible());
        f->sheet.ApplyUserChange(f->sheet.FindField(L"^Num_Fixed_Batteries$"), L"2");
        QCOMPARE(box->text(), QStringLiteral("2"));
        f->ClickTab(EPage::General);
        QTRY_VERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("2"));
    }

    // ---- tabs ----

    void choosingAProductTypeAddsItsTabsInTableOrderAndStaysOnTheTab() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("1 : Cable"));
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        QVERIFY(f->TabTexts().contains(QStringLiteral("Cable - Part One")));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        QVERIFY(!f->TabTexts().contains(QStringLiteral("Cable - Part One")));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
    }

    void aTabReturnsAtItsTablePositionNotAtTheEnd() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        VisitAll(*f);
        f->ClickTab(EPage::OrvikProduct);
        const QStringList before = f->TabTexts();
        QVERIFY(before.contains(QStringLiteral("PD Source")));
        f->Choose(QStringLiteral("PD_Port_Type"), QStringLiteral("0 : Consumer Only"));
        QVERIFY(!f->TabTexts().contains(QStringLiteral("PD Source")));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Orvik Product"));
        f->Choose(QStringLiteral("PD_Port_Type"), QStringLiteral("4 : DRP"));
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        const int source = f->TabTexts().indexOf(QStringLiteral("PD Source"));
        QVERIFY(source > 0);
        QVERIFY(source < f->TabTexts().size() - 1);
        QCOMPARE(f->TabTexts().at(source + 1), QStringLiteral("PD Sink"));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Orvik Product"));
        // The bar and the page stack agree.
        QCOMPARE(f->window->TabWidget()->widget(source), f->window->View(EPage::Source));
        QCOMPARE(f->window->TabWidget()->currentWidget(), f->window->View(EPage::OrvikProduct));
    }

    void losingTheCurrentPageMovesToTheFirstTabWithoutTheLeaveQuestion() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->ClickTab(EPage::Source);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("PD Source"));
        f->prompt.ClearHistory();
        // The change comes from elsewhere (another page's answer): the sheet drops the Source page.
        f->sheet.ApplyUserChange(f->sheet.FindField(L"^PD_Port_Type$"), L"0");
        QVERIFY(f->window->TabIndexOf(EPage::Source) < 0);
        QCOMPARE(f->window->TabWidget()->currentIndex(), 0);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::Intro);
        QCOMPARE(f->QuestionsAsked(kLeave), 0);
    }

    void removingATabBeforeTheCurrentOneKeepsTheCurrentPage() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        VisitAll(*f);
        f->ClickTab(EPage::SOPDiscovery1);
        QVERIFY(f->window->TabIndexOf(EPage::Sink) >= 0);
        f->prompt.ClearHistory();
        f->sheet.ApplyUserChange(f->sheet.FindField(L"^PD_Port_Type$"), L"3");
        QVERIFY(f->window->TabIndexOf(EPage::Sink) < 0);
        QVERIFY(f->window->TabIndexOf(EPage::SOPDiscovery1) >= 0);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("SOP Discovery - Part One"));
        QCOMPARE(f->window->TabWidget()->currentWidget(), f->window->View(EPage::SOPDiscovery1));
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::SOPDiscovery1);
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        QCOMPARE(f->QuestionsAsked(kLeave), 0);
    }

    void ctrlTabMovesToTheNextTab() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("V"));
        f->Type(QStringLiteral("Model_Part_Number"), QStringLiteral("M"));
        f->Type(QStringLiteral("Product_Revision"), QStringLiteral("R"));
        f->Type(QStringLiteral("TID"), QStringLiteral("1"));
        f->prompt.SetDefaultAnswer(true);
        QTest::keyClick(f->Edit(QStringLiteral("TID")), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f->window->TabWidget()->currentIndex(), 1);
        QCOMPARE(f->sheet.ActivePage().Id(), f->window->TabPages()[1]);
    }

    // The tabs stand in a column: Down and Up move through it as Right and Left do.
    void theArrowKeysMoveThroughTheTabColumn() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QTabBar* bar = f->window->TabWidget()->tabBar();
        f->Focus(bar);
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1}};
        for (const auto& [key, index] : steps) {
            QTest::keyClick(bar, key);
            QCOMPARE(bar->currentIndex(), index);
            QCOMPARE(f->sheet.ActivePage().Id(), f->window->TabPages()[static_cast<std::size_t>(index)]);
        }
        QVERIFY(f->prompt.History().empty());
    }

    // ---- colours ----

    void captionsAreRedForReviewAfterStartAndDefaultOnceValidAndVisited() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QVERIFY(f->window->TabPages().size() > 3);
        for (EPage page : f->window->TabPages()) {
            if (page != EPage::Intro) {
                QVERIFY2(f->CaptionRed(page),
                         qPrintable(QString::fromStdWString(f->sheet.Page(page).TabLabel())));
            }
        }
        QVERIFY(f->CaptionDefault(EPage::Intro));
        f->ClickTab(EPage::OrvikProduct);
        QVERIFY(f->CaptionDefault(EPage::OrvikProduct));
        QVERIFY(f->CaptionRed(EPage::General));
    }

    void aChangeOnAnotherPageFlagsTheTouchedPageForReview() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        VisitAll(*f);
        for (EPage page : f->window->TabPages()) {
            QVERIFY(f->CaptionDefault(page));
        }
        f->ClickTab(EPage::OrvikProduct);
        f->Choose(QStringLiteral("PD_Port_Type"), QStringLiteral("3 : Provider Only"));
        bool someFlagged = false;
        for (EPage page : f->window->TabPages()) {
            QCOMPARE(f->CaptionRed(page), !f->sheet.Page(page).IsPageValid());
            if (f->sheet.Page(page).ReviewFlag()) {
                someFlagged = true;
                QVERIFY(page != EPage::OrvikProduct);
                QVERIFY(f->CaptionRed(page));
                // Visiting a flagged page that is otherwise complete clears its red caption.
                if (f->sheet.Page(page).AreAnswersValid()) {
                    f->ClickTab(page);
                    QVERIFY(f->CaptionDefault(page));
                    f->ClickTab(EPage::OrvikProduct);
                }
            }
        }
        QVERIFY(someFlagged);
        QVERIFY(f->CaptionDefault(EPage::OrvikProduct) || !f->sheet.Page(EPage::OrvikProduct).IsPageValid());
    }

    void anInvalidFieldHasRedLabelAndTextUntilCorrected() {
        f = std::make_unique<CUiFixture>();
        QLabel* label = f->LabelOf(QStringLiteral("Vendor_Name"));
        QLineEdit* edit = f->Edit(QStringLiteral("Vendor_Name"));
        QVERIFY(CUiFixture::IsMarkedInvalid(label));
        QVERIFY(CUiFixture::IsMarkedInvalid(edit));
        // A field already invalid when its page is built is shown red from the first frame.
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(f->CaptionRed(EPage::Intro));
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        QVERIFY(!CUiFixture::IsMarkedInvalid(label));
        QVERIFY(!CUiFixture::IsMarkedInvalid(edit));
        // Red is pure red; valid text keeps the palette's colour.
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 QApplication::palette(label).color(QPalette::WindowText));
        f->Clear(QStringLiteral("Vendor_Name"));
        QVERIFY(CUiFixture::IsMarkedInvalid(label));
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
    }

    void aTabTurnsDefaultWhenItsLastInvalidFieldIsCorrected() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->Clear(QStringLiteral("TID"));
        QVERIFY(f->CaptionRed(EPage::Intro));
        f->Type(QStringLiteral("TID"), QStringLiteral("42"));
        QVERIFY(f->CaptionDefault(EPage::Intro));
    }

    void anUnavailableFieldIsDisabledButVisible() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("1 : Cable"));
        QLineEdit* label = f->Edit(QStringLiteral("Port_Label"));
        QVERIFY(label);
        QVERIFY(!label->isEnabled());
        QVERIFY(!f->LabelOf(QStringLiteral("Port_Label"))->isEnabled());
        QVERIFY(label->isVisible());
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        QVERIFY(label->isEnabled());
    }

    // ---- questions ----

    void leavingAnInvalidPageAsksAndNoKeepsThePage() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        QVERIFY(!f->sheet.Page(EPage::Intro).IsPageValid());
        f->prompt.SetNextAnswer(false);
        f->ClickTab(EPage::OrvikProduct);
        QCOMPARE(f->QuestionsAsked(kLeave), 1);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::Intro);
        f->prompt.SetNextAnswer(true);
        f->ClickTab(EPage::OrvikProduct);
        QCOMPARE(f->QuestionsAsked(kLeave), 2);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Orvik Product"));
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::OrvikProduct);
    }

    // The question is asked over the page it is about; the chosen page appears only after Yes.
    void theLeaveQuestionIsAskedOverTheOldPage() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        QTabWidget* tabs = f->window->TabWidget();
        QWidget* intro = f->window->View(EPage::Intro);
        QWidget* product = f->window->View(EPage::OrvikProduct);
        int asked = 0;
        f->prompt.whileAsking = [&](const std::wstring& question) {
            QCOMPARE(question, kLeave);
            ++asked;
            QCOMPARE(tabs->currentWidget(), intro);
            QCOMPARE(tabs->currentIndex(), f->window->TabIndexOf(EPage::Intro));
            QVERIFY(intro->isVisible());
            QVERIFY(!product->isVisible());
        };
        for (const bool answer : {false, true}) {
            f->prompt.SetNextAnswer(answer);
            f->ClickTab(EPage::OrvikProduct);
            QCOMPARE(tabs->currentWidget(), answer ? product : intro);
            QCOMPARE(product->isVisible(), answer);
        }
        QCOMPARE(asked, 2);
    }

    void leavingAValidPageAsksNothing() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QVERIFY(f->sheet.Page(EPage::Intro).IsPageValid());
        f->ClickTab(EPage::OrvikProduct);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Orvik Product"));
        QVERIFY(f->prompt.History().empty());
    }

    void cancelRightAfterStartClosesWithoutAQuestion() {
        f = std::make_unique<CUiFixture>();
        QTest::mouseClick(f->window->CancelButton(), Qt::LeftButton);
        QVERIFY(!f->window->isVisible());
        QCOMPARE(f->window->result(), static_cast<int>(QDialog::Rejected));
        QVERIFY(f->prompt.History().empty());
        QVERIFY(f->Logged("Cancel button selected"));
        QVERIFY(f->Logged("App exited without saving."));
    }

    void cancelAfterTypingAsksOnceForButtonEscapeAndClose() {
        f = std::make_unique<CUiFixture>();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("x"));
        f->prompt.SetNextAnswer(false);
        QTest::mouseClick(f->window->CancelButton(), Qt::LeftButton);
        QCOMPARE(f->QuestionsAsked(kCancel), 1);
        QVERIFY(f->window->isVisible());
        f->prompt.SetNextAnswer(false);
        QTest::keyClick(f->Edit(QStringLiteral("Vendor_Name")), Qt::Key_Escape);
        QCOMPARE(f->QuestionsAsked(kCancel), 2);
        QVERIFY(f->window->isVisible());
        QVERIFY(!f->Logged("App exited without saving."));
        f->prompt.SetNextAnswer(true);
        f->window->close();
        QCOMPARE(f->QuestionsAsked(kCancel), 3);
        QVERIFY(!f->window->isVisible());
        QVERIFY(f->Logged("App exited without saving."));
        // No question of any other kind on the way.
        QCOMPARE(static_cast<int>(f->prompt.History().size()), 3);
    }

    void noStreamOfEnterAndEscapeEndsAFormWithAnswers() {
        f = std::make_unique<CUiFixture>();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        CQtPrompt boxes(f->window.get());
        f->prompt.boxes = &boxes;
        // Escape asks; Enter in the real box answers its default, which keeps the form.
        for (Qt::Key second : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTimer::singleShot(0, [second] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    QTest::keyClick(box, second);
                }
            });
            QTest::keyClick(f->Edit(QStringLiteral("Vendor_Name")), Qt::Key_Escape);
            QVERIFY(f->window->isVisible());
        }
        QCOMPARE(f->QuestionsAsked(kCancel), 3);
        QVERIFY(f->prompt.History().back().noByDefault);
        // Enter from the problems panel's list goes to the entry, not to OK.
        f->prompt.boxes = nullptr;
        f->window->ProblemsPanel()->ToggleButton()->click();
        QWidget* list = f->window->ProblemsPanel()->findChild<QAbstractItemView*>();
        QVERIFY(list);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(f->window->isVisible());
        QVERIFY(!f->Logged("OK button selected."));
    }

    void cancelIgnoresAnswersOnPagesNeverShown() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        // Intro's product type does not count as work; the product page was never shown.
        f->sheet.FindField(L"^Connector_Type$")->SetValue(L"2");
        QTest::mouseClick(f->window->CancelButton(), Qt::LeftButton);
        QCOMPARE(f->QuestionsAsked(kCancel), 0);
        QVERIFY(!f->window->isVisible());
    }

    // ---- field controls ----

    void digitBoxesDropNonDigitsWithABeepButTakePasteAndWriteHexInCapitals() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->ClickTab(EPage::General);
        QLineEdit* vid = f->Edit(QStringLiteral("Manufacturer_Info_VID_Port"));
        QVERIFY(vid);
        if (!vid->isEnabled()) {
            f->Choose(QStringLiteral("Manufacturer_Info_Supported_Port"), QStringLiteral("YES"));
        }
        QVERIFY(vid->isEnabled());
        f->Clear(QStringLiteral("Manufacturer_Info_VID_Port"));
        const int before = f->beeps;
        f->Type(QStringLiteral("Manufacturer_Info_VID_Port"), QStringLiteral("g"));
        QCOMPARE(f->beeps, before + 1);
        QCOMPARE(vid->text(), QString());
        f->Type(QStringLiteral("Manufacturer_Info_VID_Port"), QStringLiteral("F0a9"));
        QCOMPARE(vid->text(), QStringLiteral("F0A9"));
        QCOMPARE(f->beeps, before + 1);
        QCOMPARE(f->sheet.FindField(L"^Manufacturer_Info_VID_Port$")->Value(), std::wstring(L"F0A9"));

        // A "0x" typed or pasted into a hexadecimal box is the prefix, not a digit and an x.
        auto* control = dynamic_cast<CEditFieldControl*>(
            f->window->ControlOf(*f->sheet.FindField(L"^Manufacturer_Info_VID_Port$")));
        QVERIFY(control);
        f->Clear(QStringLiteral("Manufacturer_Info_VID_Port"));
        f->Type(QStringLiteral("Manufacturer_Info_VID_Port"), QStringLiteral("0x"));
        QVERIFY(control->Balloon());
        QCOMPARE(control->Balloon()->Title(), QStringLiteral("Hexadecimal digits only"));
        f->Type(QStringLiteral("Manufacturer_Info_VID_Port"), QStringLiteral("1234"));
        QCOMPARE(vid->text(), QStringLiteral("1234"));
        QCOMPARE(f->beeps, before + 2);
        f->Clear(QStringLiteral("Manufacturer_Info_VID_Port"));
        QApplication::clipboard()->setText(QStringLiteral("0X12ab"));
        QTest::keyClick(vid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(vid->text(), QStringLiteral("12AB"));
        QCOMPARE(f->beeps, before + 3);
        QCOMPARE(f->sheet.FindField(L"^Manufacturer_Info_VID_Port$")->Value(), std::wstring(L"12AB"));
        const int afterPrefix = f->beeps;

        QLineEdit* batteries = f->Edit(QStringLiteral("Num_Fixed_Batteries"));
        QVERIFY(batteries && batteries->isEnabled());
        f->Clear(QStringLiteral("Num_Fixed_Batteries"));
        f->Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("+-.a"));
        QCOMPARE(f->beeps, afterPrefix + 4);
        QCOMPARE(batteries->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("x7"));
        QTest::keyClick(batteries, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(batteries->text(), QStringLiteral("x7"));
        QCOMPARE(f->beeps, afterPrefix + 4);
        QCOMPARE(f->sheet.FindField(L"^Num_Fixed_Batteries$")->Value(), std::wstring(L"x7"));
        QVERIFY(CUiFixture::IsMarkedInvalid(batteries));
    }

    void aTypedInvalidNumberShowsTheBalloonUntilClearedOrLeft() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->ClickTab(EPage::General);
        auto* control = dynamic_cast<CEditFieldControl*>(
            f->window->ControlOf(*f->sheet.FindField(L"^Num_Fixed_Batteries$")));
        QVERIFY(control);
        f->Clear(QStringLiteral("Num_Fixed_Batteries"));
        QVERIFY(!control->Balloon());
        f->Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("9"));
        QVERIFY(control->Balloon());
        QCOMPARE(control->Balloon()->Title(), QStringLiteral("Invalid value"));
        const auto* field = FieldAs<const CEditField>(&control->Field());
        QCOMPARE(control->Balloon()->Text(), QString::fromStdWString(field->Prompt()));
        f->Clear(QStringLiteral("Num_Fixed_Batteries"));
        QVERIFY(!control->Balloon());
        f->Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("7"));
        QVERIFY(control->Balloon());
        f->Focus(f->Input(QStringLiteral("Manufacturer_Info_Supported_Port")));
        QVERIFY(!control->Balloon());
        f->Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("")); // focus back, nothing typed
        QVERIFY(!control->Balloon());
    }

    void pulldownsShowSelectNumberedChoicesAndYesNoLabels() {
        f = std::make_unique<CUiFixture>();
        QComboBox* type = f->Combo(QStringLiteral("Orvik_Product_Type"));
        QCOMPARE(type->itemText(0), QStringLiteral("<Select>"));
        QCOMPARE(type->itemData(0).toInt(), -1);
        QCOMPARE(type->itemText(1), QStringLiteral("0 : Port"));
        QCOMPARE(type->itemText(2), QStringLiteral("1 : Cable"));
        QCOMPARE(CUiFixture::ItemValue(type, QStringLiteral("2 : Re-timer")), 2);
        CQtFieldControl* control = f->window->ControlOf(*f->sheet.FindField(L"^Orvik_Product_Type$"));
        const QStringList tabs = f->TabTexts();
        control->SetControlText(L"7");
        QCOMPARE(type->currentText(), QStringLiteral("<Select>"));
        QCOMPARE(control->GetControlText(), std::wstring());
        control->SetControlText(L"1");
        QCOMPARE(type->currentText(), QStringLiteral("1 : Cable"));
        QCOMPARE(control->GetControlText(), std::wstring(L"1"));
        // A programmatic refresh never re-evaluates the form.
        QCOMPARE(f->TabTexts(), tabs);
        QCOMPARE(f->sheet.FindField(L"^Orvik_Product_Type$")->Value(), std::wstring());

        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::OrvikProduct);
        QComboBox* battery = f->Combo(QStringLiteral("Port_Battery_Powered"));
        QVERIFY(battery);
        QCOMPARE(battery->itemText(0), QStringLiteral("<Select>"));
        QVERIFY(battery->findText(QStringLiteral("YES")) > 0);
        QVERIFY(battery->findText(QStringLiteral("NO")) > 0);
        CQtFieldControl* yesNo = f->window->ControlOf(*f->sheet.FindField(L"^Port_Battery_Powered$"));
        yesNo->SetControlText(L"yes");
        QCOMPARE(battery->currentText(), QStringLiteral("<Select>"));
        yesNo->SetControlText(L"NO");
        QCOMPARE(battery->currentText(), QStringLiteral("NO"));
        QCOMPARE(yesNo->GetControlText(), std::wstring(L"NO"));
        f->Choose(QStringLiteral("Port_Battery_Powered"), QStringLiteral("YES"));
        QCOMPARE(f->sheet.FindField(L"^Port_Battery_Powered$")->Value(), std::wstring(L"YES"));
    }

    void tabMovesThroughTheFieldsInFormOrder() {
        f = std::make_unique<CUiFixture>();
        f->Choose(QStringLiteral("Orvik_Product_Type"), QStringLiteral("0 : Port"));
        f->Focus(f->Input(QStringLiteral("Vendor_Name")));
        const QStringList order = {QStringLiteral("Model_Part_Number"), QStringLiteral("Product_Revision"),
                                   QStringLiteral("TID"), QStringLiteral("Orvik_Product_Type"),
                                   QStringLiteral("Port_Label")};
        for (const QString& next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
    }

    void enterOnAPulldownPressesOkAndEscapeAsksToCancel() {
        f = std::make_unique<CUiFixture>();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("x"));
        QComboBox* type = f->Combo(QStringLiteral("Orvik_Product_Type"));
        f->Focus(type);
        QTest::keyClick(type, Qt::Key_Return);
        QVERIFY(f->Logged("OK button selected."));
        QVERIFY(f->window->isVisible());
        f->prompt.SetNextAnswer(false);
        QTest::keyClick(type, Qt::Key_Escape);
        QCOMPARE(f->QuestionsAsked(kCancel), 1);
        QVERIFY(f->window->isVisible());
    }

    void listPagesGetTheirPanelBelowTheForm() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        for (const auto& page : f->sheet.Pages()) {
            f->window->View(page->Id())->SetListPanelFactory([](CPageView&, QWidget* parent) {
                auto* panel = new QLabel(QStringLiteral("list"), parent);
                panel->setObjectName(QStringLiteral("ListPanel"));
                return panel;
            });
        }
        f->ClickTab(EPage::OrvikProduct);
        QVERIFY(!f->window->View(EPage::OrvikProduct)->ListPanel());
        f->ClickTab(EPage::Source);
        CPageView* source = f->window->View(EPage::Source);
        QWidget* panel = source->ListPanel();
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QWidget* lastInput =
            source->Form()->itemAt(source->Form()->rowCount() - 1, QFormLayout::FieldRole)->widget();
        QVERIFY(panel->geometry().top() >= lastInput->geometry().bottom());
    }

    // ---- OK and Apply ----

    void applyWritesTheCoreBytesShowsTheBoxAndStaysOpen() {
        const std::string form = orvik::testsupport::FullPortForm(2, 2, 1, 1);
        f = std::make_unique<CUiFixture>(form);
        VisitAll(*f);
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QVERIFY(f->window->isVisible());
        const std::wstring name = f->sheet.OutputFileName();
        QVERIFY(!name.empty());
        const std::wstring box =
            L"A text file has been generated in the same directory as this application. It is named " + name +
            L".";
        QCOMPARE(Shown(f->prompt, CScriptedPrompt::Shown::Information, box), 1);
        QCOMPARE(f->window->windowTitle(),
                 QStringLiteral("Orvik Generator 1.2.2.2 - [%1]").arg(QString::fromStdWString(name)));
        QFile file(f->dir.filePath(QString::fromStdWString(name)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        QCOMPARE(saved, QByteArray::fromStdString(BuildOrvikBytes(f->sheet)));
        // The same answers given to the headless form give the same bytes.
        CScriptedPrompt quiet;
        CMarnelPropertySheet headless(&quiet);
        headless.SetReviewFlagsEnabled(false);
        headless.Initialize();
        QVERIFY(LoadOrvikBytes(headless, L"x.txt", form));
        QCOMPARE(saved, QByteArray::fromStdString(BuildOrvikBytes(headless)));
        QVERIFY(f->Logged("Apply button selected."));
        QVERIFY(f->Logged("About to save Orvik."));

        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QCOMPARE(Shown(f->prompt, CScriptedPrompt::Shown::Information, box), 2);
        QVERIFY(f->window->isVisible());
    }

    void okSavesShowsTheBoxOnceAndCloses() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        VisitAll(*f);
        QTest::mouseClick(f->window->OkButton(), Qt::LeftButton);
        QVERIFY(!f->window->isVisible());
        QCOMPARE(f->window->result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(static_cast<int>(f->prompt.History().size()), 1);
        QCOMPARE(f->prompt.History()[0].kind, CScriptedPrompt::Shown::Information);
        QVERIFY(f->sheet.SuccessBoxFlag());
        QVERIFY(QFile::exists(f->dir.filePath(QString::fromStdWString(f->sheet.OutputFileName()))));
        QVERIFY(f->Logged("OK button selected."));
    }

    void theSuccessBoxNamesTheFolderWhenItIsNotTheProgramsFolder() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QTemporaryDir elsewhere;
        f->window->SetProgramDirectory(elsewhere.path().toStdWString());
        VisitAll(*f);
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QCOMPARE(f->prompt.History().size(), std::size_t(1));
        const QString text = QString::fromStdWString(f->prompt.History()[0].text);
        QCOMPARE(text, QStringLiteral("A text file has been generated in %1. It is named %2.")
                           .arg(QDir::toNativeSeparators(QDir(f->dir.path()).canonicalPath()),
                                QString::fromStdWString(f->sheet.OutputFileName())));
    }

    void enterPressesOkAndAnIncompleteFormStaysOpenWithTheErrorBox() {
        f = std::make_unique<CUiFixture>();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        QTest::keyClick(f->Edit(QStringLiteral("Vendor_Name")), Qt::Key_Return);
        QVERIFY(f->window->isVisible());
        QVERIFY(f->Logged("OK button selected."));
        QCOMPARE(Shown(f->prompt, CScriptedPrompt::Shown::Error,
                       L"Couldn't save Orvik: form not complete or invalid data entered."),
                 1);
        QCOMPARE(f->QuestionsAsked(kLeave), 0);
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2"));
    }
};

QTEST_MAIN(SheetWindowTest)
#include "SheetWindowTest.moc"
