#include "ui/QuestionPane.h"

#include "sheet/Explanation.h"
#include "sheet/PropertySheet.h"
#include "ui/QtText.h"
#include "ui/RecentFiles.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr const char* kOpenKey = "QuestionPane/Open";
constexpr const char* kLinkScheme = "question";

// A line of the explanation as rich text: every `Name` it quotes is a link to that question.
QString LinkedHtml(const std::wstring& text) {
    static const QRegularExpression quoted(QStringLiteral("`([^`]+)`"));
    const QString plain = ToQString(text);
    QString html;
    qsizetype at = 0;
    for (auto it = quoted.globalMatch(plain); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        html += plain.mid(at, match.capturedStart() - at).toHtmlEscaped();
        const QString name = match.captured(1);
        html += QStringLiteral("<a href=\"%1:%2\">%3</a>")
                    .arg(QLatin1String(kLinkScheme), QString::fromLatin1(QUrl::toPercentEncoding(name)),
                         name.toHtmlEscaped());
        at = match.capturedEnd();
    }
    return html + plain.mid(at).toHtmlEscaped();
}

} // namespace

CQuestionPane::CQuestionPane(CMarnelPropertySheet& sheet, QWidget& scope, FieldFinder finder,
                             LinkFollower follower, QWidget* parent)
    : QWidget(parent), sheet_(sheet), scope_(scope), finder_(std::move(finder)),
      follower_(std::move(follower)) {
    setObjectName(QStringLiteral("QuestionPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    toggle_ = new QPushButton(QStringLiteral("Question"), this);
    toggle_->setObjectName(QStringLiteral("QuestionToggle"));
    toggle_->setCheckable(true);
    toggle_->setToolTip(
        QStringLiteral("Show or hide what the question in focus means and why it is asked (F1)"));
    connect(toggle_, &QPushButton::toggled, this, &CQuestionPane::SetOpen);
    shortcut_ = new QShortcut(QKeySequence(Qt::Key_F1), &scope_);
    connect(shortcut_, &QShortcut::activated, this, [this] { SetOpen(!IsOpen()); });

    // What another choice would clear is tried on a copy of the form, a millisecond or two on a
    // large one: it is told once the focus and the answers rest, not at every step of a search.
    tried_ = new QTimer(this);
    tried_->setSingleShot(true);
    tried_->setInterval(kChoicesTriedDelayMs);
    connect(tried_, &QTimer::timeout, this, [this] { Tell(EExplainDepth::ChoicesTried); });

    qApp->installEventFilter(this);
    sheet_.AddObserver(this);
    const bool open = ProgramSetting(QLatin1String(kOpenKey), false).toBool();
    if (open) {
        EnsureRoom();
    }
    setVisible(open);
    toggle_->setChecked(open);
}

CQuestionPane::~CQuestionPane() {
    StopFollowing();
}

void CQuestionPane::StopFollowing() {
    if (following_) {
        following_ = false;
        qApp->removeEventFilter(this);
        sheet_.RemoveObserver(this);
        tried_->stop();
    }
}

// A rich-text box is the costliest thing a group dialog would otherwise build, and a window that
// starts with the pane open paid about 2 ms of its start for one before any question had the focus.
// An empty scrolling area of the same frame, colours and size holds its place until there are
// words to show; most dialogs never show the pane at all.
void CQuestionPane::EnsureRoom() {
    if (text_ || blank_) {
        return;
    }
    blank_ = new QAbstractScrollArea(this);
    blank_->setAccessibleName(QStringLiteral("Question"));
    blank_->setMaximumHeight(TextHeight());
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, blank_);
}

void CQuestionPane::EnsureText() {
    if (text_) {
        return;
    }
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("QuestionText"));
    text_->setOpenLinks(false);
    text_->setAccessibleName(QStringLiteral("Question"));
    // The words change at every focus step, and laying them out is nearly all of the pane's cost:
    // Latin text reads the same without the font's kerning and ligatures, at half that cost.
    QFont font = text_->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    text_->setFont(font);
    text_->setMaximumHeight(TextHeight());
    auto* column = static_cast<QVBoxLayout*>(layout());
    if (blank_) {
        delete column->replaceWidget(blank_, text_);
        delete std::exchange(blank_, nullptr);
    } else {
        column->insertWidget(0, text_);
    }
    connect(text_, &QTextBrowser::anchorClicked, this, &CQuestionPane::FollowLink);
}

// A few lines: the page keeps the room, the pane scrolls.
int CQuestionPane::TextHeight() const {
    return fontMetrics().lineSpacing() * 7;
}

void CQuestionPane::SetOpen(bool open) {
    if (open == IsOpen() && toggle_->isChecked() == open) {
        return;
    }
    if (open) {
        EnsureRoom();
    }
    setVisible(open);
    toggle_->setChecked(open);
    ProgramSettings().setValue(QLatin1String(kOpenKey), open);
    if (open) {
        ShowQuestion(finder_(QApplication::focusWidget()));
    }
}

void CQuestionPane::ShowQuestion(const CParameterField* field) {
    if (!field) {
        return;
    }
    question_ = field;
    Refresh();
}

void CQuestionPane::Refresh() {
    if (!question_ || !IsOpen()) {
        tried_->stop();
        return;
    }
    Tell(EExplainDepth::Quick);
    tried_->start();
}

void CQuestionPane::Tell(EExplainDepth depth) {
    if (!question_ || !IsOpen()) {
        return;
    }
    const SExplanation e = Explain(sheet_, *question_, depth);
    QString html = QStringLiteral("<b>%1</b>").arg(ToQString(e.name).toHtmlEscaped());
    if (!e.tab.empty()) {
        html += QStringLiteral(" (%1)").arg(ToQString(e.tab).toHtmlEscaped());
    }
    const std::vector<std::wstring> lines = ExplanationLines(e);
    // The first line is the name and tab, set above in bold.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        html += QStringLiteral("<br>") + LinkedHtml(lines[i].substr(lines[i].find_first_not_of(L' ')));
    }
    EnsureText();
    if (html != told_) {
        told_ = html;
        text_->setHtml(html);
    }
}

void CQuestionPane::FollowLink(const QUrl& link) {
    if (link.scheme() != QLatin1String(kLinkScheme)) {
        return;
    }
    if (follower_) {
        follower_(ToWString(QUrl::fromPercentEncoding(link.path().toLatin1())));
    }
}

void CQuestionPane::SheetChanged(const SSheetChange& /*change*/) {
    Refresh();
}

bool CQuestionPane::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::Enter) && IsOpen() &&
        watched->isWidgetType()) {
        if (const CParameterField* field = finder_(static_cast<QWidget*>(watched))) {
            if (field != question_) {
                ShowQuestion(field);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
