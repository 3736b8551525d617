#pragma once

#include "sheet/SheetObserver.h"
#include "ui/DigitFilter.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class CParameterField;
class CPulldownListField;

// The "Invalid value" balloon below an edit box: a small frameless tip window of its own, so that
// it stays until it is hidden and can be inspected.
class CBalloonTip : public QFrame {
    Q_OBJECT
public:
    CBalloonTip();
    void ShowBelow(QWidget* anchor, const QString& title, const QString& text);
    QString Title() const;
    QString Text() const;

private:
    QLabel* title_;
    QLabel* text_;
};

// The on-screen half of a field in the Qt window: an input control and its label. The view that
// lays it out (a page or a group dialog) owns it, shows the field's state in it, and receives the
// user's edits through the edit callback (the programmatic SetControlText never reports). The field
// knows nothing of it.
class CQtFieldControl {
public:
    // Called with the field and the value the user typed or chose.
    using EditCallback = std::function<void(CParameterField*, const std::wstring&)>;

    CQtFieldControl(CParameterField& field, QWidget* input, QWidget* parent, const std::wstring& help);
    virtual ~CQtFieldControl();
    CQtFieldControl(const CQtFieldControl&) = delete;
    CQtFieldControl& operator=(const CQtFieldControl&) = delete;

    CParameterField& Field() const { return field_; }
    QLabel* Label() const { return label_; }
    QWidget* Input() const { return input_; }
    // The unit text after the input ("mW"), or null when the field has never shown one.
    QLabel* Unit() const { return unit_; }
    // The unit the field is typed in, beside the input, in its tips and its accessible description;
    // an empty unit hides the label. Enabled and shown with the input.
    void SetUnitText(const QString& unit);
    const QString& UnitText() const { return unitText_; }
    // Where the field's unit is read: the catalog's word for it, which other answers may change.
    void SetUnitSource(std::function<std::wstring()> source) { unitSource_ = std::move(source); }
    // Shows the unit the source gives now; none without a source.
    void RefreshUnit();
    // The input with its unit to the right, for the field cell of a form row; the unit label joins
    // it when the field first shows one.
    QLayout* InputWithUnit();

    // The label text: the printable name without a leading '$'.
    static QString LabelTextFor(const CParameterField& field);

    virtual void ResetControl() = 0;
    virtual void SetControlText(const std::wstring& text) = 0;
    // The text the control shows: what the user entered, for the view to hand to the field.
    virtual std::wstring GetControlText() const = 0;
    // The field's choice list was replaced; a pull-down refills itself.
    virtual void ChoicesChanged() {}
    void EnableControl(bool enable);
    void ShowControl(bool show);
    bool IsControlEnabled() const;

    // Red label and text while the field is shown invalid (IsShownInvalid), the normal colours
    // otherwise.
    void UpdateColour();
    // Shows what the sheet's notification says changed of the field: its choices, its value, its
    // enabling, then its colour.
    void ApplyChange(const SSheetChange::SField& change);

protected:
    void ReportEdit(const std::wstring& value);
    QObject* Context() const { return context_.get(); }
    // The help text with the unit after it, as the tips and the balloon add it.
    QString WithUnit(const QString& text) const;

    CParameterField& field_;
    QLabel* label_ = nullptr;
    QWidget* input_ = nullptr;
    QLabel* unit_ = nullptr;

private:
    friend std::unique_ptr<CQtFieldControl> CreateQtFieldControl(CParameterField&, QWidget*,
                                                                 const std::wstring&, std::function<void()>,
                                                                 EditCallback);
    void ShowHelp();

    std::wstring help_;
    std::function<std::wstring()> unitSource_;
    QString unitText_;
    QPointer<QHBoxLayout> cell_;
    std::unique_ptr<QObject> context_;
    EditCallback onEdit_;
};

class CEditFieldControl : public CQtFieldControl {
public:
    CEditFieldControl(CParameterField& field, QWidget* parent, const std::wstring& help);
    ~CEditFieldControl() override;

    void ResetControl() override;
    void SetControlText(const std::wstring& text) override;
    std::wstring GetControlText() const override;

    CEditMultiBase* Edit() const { return static_cast<CEditMultiBase*>(input_); }
    // The balloon shown under the box for a typed invalid value; null when none is shown.
    CBalloonTip* Balloon() const;
    void HideBalloon();

private:
    void TextChanged();
    void ShowBalloon(const QString& title, const QString& text);

    std::unique_ptr<CBalloonTip> balloon_;
};

class CNumEditControl : public CEditFieldControl {
public:
    using CEditFieldControl::CEditFieldControl;
    void ResetControl() override;
};

class CDigitStringEditControl : public CEditFieldControl {
public:
    using CEditFieldControl::CEditFieldControl;
    void ResetControl() override;
};

class CPulldownFieldControl : public CQtFieldControl {
public:
    CPulldownFieldControl(CParameterField& field, QWidget* parent, const std::wstring& help);

    void ResetControl() override;
    void SetControlText(const std::wstring& text) override;
    std::wstring GetControlText() const override;
    void ChoicesChanged() override;

    QComboBox* Combo() const { return static_cast<QComboBox*>(input_); }
    virtual QString FormatChoice(int value, const std::wstring& label) const;

protected:
    void SelectValue(long long value);
};

class CYesNoFieldControl : public CPulldownFieldControl {
public:
    using CPulldownFieldControl::CPulldownFieldControl;

    void SetControlText(const std::wstring& text) override;
    std::wstring GetControlText() const override;
    QString FormatChoice(int value, const std::wstring& label) const override;
};

// The control class for the field's kind, with its label and input created as children of
// `parent`, reset and showing the field's value. `help` becomes the tool tip of both; `beep` sounds
// for a keystroke its edit box drops. Every answer the control takes goes to `onEdit`, the one route
// by which an answer changes and what depends on it follows.
std::unique_ptr<CQtFieldControl> CreateQtFieldControl(CParameterField& field, QWidget* parent,
                                                      const std::wstring& help, std::function<void()> beep,
                                                      CQtFieldControl::EditCallback onEdit);
