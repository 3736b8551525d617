#include "ui/ReleaseNotes.h"

#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"
#include "persistence/Upgrader.h"
#include "text/Version.h"
#include "ui/InfoWindow.h"
#include "ui/PageInfoTexts.h"
#include "ui/QtText.h"

#include <QFontInfo>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>

#include <array>

namespace {

constexpr double kHeadingSpace = 10;
constexpr int kMaxListLevel = 2;

// The size the notes are written in: the text control's own size, taken once.
double BaseSize(const QTextEdit& text) {
    static const double base = QFontInfo(text.font()).pointSizeF();
    return base;
}

const SPageRow* PageOfField(const std::wstring& name) {
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& field : page.fields) {
            if (field.name == name) {
                return &page;
            }
        }
    }
    return nullptr;
}

// What a list page lists, as the user calls the items.
QString ListedItemsOf(EGroupType groupType) {
    const SGroupTypeRow* row = FindGroupTypeRow(groupType);
    return row && row->notesList ? ToQString(row->notesList) : QString();
}

// Paragraphs, bulleted items on two levels and their runs, appended at the end of the notes.
class CNotesWriter {
public:
    explicit CNotesWriter(QTextEdit& text) : out_(text) {}

    CRichAppender& Out() { return out_; }

    void Title(const QString& title, double pointSize) {
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        out_.Cursor().setBlockFormat(centred);
        out_.Run(title, true, false, pointSize);
    }

    void Heading(const QString& heading) {
        EndLists();
        out_.Paragraph(kHeadingSpace);
        out_.Bold(heading);
    }

    // A new item at `level` (1 or 2); an item of level 1 ends the sub-list before it.
    CRichAppender& Item(int level) {
        out_.Paragraph();
        QTextList*& list = lists_[static_cast<std::size_t>(level)];
        if (list) {
            list->add(out_.Cursor().block());
        } else {
            QTextListFormat format;
            format.setStyle(level == 1 ? QTextListFormat::ListDisc : QTextListFormat::ListCircle);
            format.setIndent(level);
            list = out_.Cursor().createList(format);
        }
        for (int deeper = level + 1; deeper <= kMaxListLevel; ++deeper) {
            lists_[static_cast<std::size_t>(deeper)] = nullptr;
        }
        return out_;
    }

    // The heading of a sub-list, indented under the item it belongs to.
    void SubListHeading(const QString& heading) {
        out_.Paragraph();
        QTextBlockFormat indented;
        indented.setIndent(1);
        out_.Cursor().setBlockFormat(indented);
        out_.Plain(heading);
        lists_[2] = nullptr;
    }

    void EndLists() { lists_.fill(nullptr); }

    // "Tab" in bold and "Field" in italic.
    void TabAndField(const std::wstring& field) {
        if (const SPageRow* page = PageOfField(field)) {
            out_.Bold(ToQString(page->tabLabel)).Plain(QStringLiteral(" "));
        }
        out_.Italic(ToQString(field));
    }

private:
    CRichAppender out_;
    std::array<QTextList*, kMaxListLevel + 1> lists_{};
};

void WriteThisVersion(CNotesWriter& notes) {
    notes.Item(1)
        .Plain(QStringLiteral("This is the version of this program. It writes files in the format "))
        .Italic(ToQString(orvik::SpecificationText()))
        .Plain(QStringLiteral(" and names itself in them as "))
        .Italic(ToQString(orvik::ProducerText()))
        .Plain(QStringLiteral("."));

    const auto& pages = PageCatalog();
    notes.Item(1).Plain(
        QStringLiteral("The form has %1 tabs, in this order; a tab is shown only while at least one "
                       "of its questions applies:")
            .arg(pages.size()));
    for (const SPageRow& page : pages) {
        CRichAppender& item = notes.Item(2);
        item.Bold(ToQString(page.tabLabel))
            .Plain(QStringLiteral(": %1 question%2")
                       .arg(page.fields.size())
                       .arg(page.fields.size() == 1 ? "" : "s"));
        if (page.listedGroupType != EGroupType::None) {
            item.Plain(QStringLiteral(", and the list of %1").arg(ListedItemsOf(page.listedGroupType)));
        }
        item.Plain(QStringLiteral("."));
    }

    notes.Item(1).Plain(QStringLiteral("Each item of a list has questions of its own:"));
    for (const SGroupTypeRow& kind : GroupTypeRows()) {
        if (!kind.notesItem) {
            continue; // a mode is told with its SVID
        }
        CRichAppender& item = notes.Item(2);
        item.Plain(QStringLiteral("%1: %2 questions")
                       .arg(ToQString(kind.notesItem))
                       .arg(GroupFieldRows(kind.type).size()));
        if (kind.modes != EGroupType::None) {
            item.Plain(
                QStringLiteral(", and %1 for each of its modes").arg(GroupFieldRows(kind.modes).size()));
        }
        item.Plain(QStringLiteral("."));
    }

    for (const SPageRow& page : pages) {
        const SPageInfo info = PageInfoOf(page.id);
        if (info.fill) {
            notes.Item(1)
                .Plain(QStringLiteral("Each time the "))
                .Bold(ToQString(page.tabLabel))
                .Plain(QStringLiteral(" tab is opened, a window of its own explains "))
                .Italic(info.title)
                .Plain(QStringLiteral("."));
        }
    }

    notes.Item(1).Plain(QStringLiteral(
        "Files written by earlier versions are upgraded when they are loaded: the answers of the "
        "retired fields below move to the current fields. This program does not record in which "
        "earlier version each of them was retired."));
    const std::vector<SRetiredField> retired = RetiredFields();
    notes.SubListHeading(QStringLiteral("Renamed fields:"));
    for (const SRetiredField& field : retired) {
        if (field.currentNames.size() == 1) {
            notes.Item(2);
            notes.TabAndField(field.currentNames.front());
            notes.Out().Plain(QStringLiteral(", formerly ")).Italic(ToQString(field.oldName));
        }
    }
    notes.SubListHeading(QStringLiteral("Fields Removed:"));
    for (const SRetiredField& field : retired) {
        if (field.currentNames.size() > 1) {
            notes.Item(2).Italic(ToQString(field.oldName)).Plain(QStringLiteral(", whose answer now sets "));
            for (std::size_t i = 0; i < field.currentNames.size(); ++i) {
                if (i > 0) {
                    notes.Out().Plain(i + 1 == field.currentNames.size() ? QStringLiteral(" and ")
                                                                         : QStringLiteral(", "));
                }
                notes.TabAndField(field.currentNames[i]);
            }
        }
    }

    // The earlier versions get no headings of their own: this program knows their numbers and the
    // names they wrote, not what each of them changed.
    const QStringList& versions = ProgramVersions();
    if (versions.size() > 1) {
        notes.Item(1)
            .Plain(QStringLiteral("The %1 earlier versions, ").arg(versions.size() - 1))
            .Bold(versions.at(1))
            .Plain(QStringLiteral(" back to "))
            .Bold(versions.last())
            .Plain(QStringLiteral(", are not described here: this program keeps no record of their "
                                  "changes beyond the retired fields above."));
    }
}

} // namespace

const QStringList& ProgramVersions() {
    static const QStringList versions = {
        QStringLiteral("1.2.2.2"),  QStringLiteral("1.2.2.1"),  QStringLiteral("1.2.2.0"),
        QStringLiteral("1.2.1.1"),  QStringLiteral("1.2.1.0"),  QStringLiteral("1.2.0.2"),
        QStringLiteral("1.2.0.1"),  QStringLiteral("1.2.0.0"),  QStringLiteral("1.1.3.1"),
        QStringLiteral("1.1.3.0"),  QStringLiteral("1.1.2.1"),  QStringLiteral("1.1.2.0"),
        QStringLiteral("1.1.1.1"),  QStringLiteral("1.1.1.0"),  QStringLiteral("1.1.0.2"),
        QStringLiteral("1.1.0.1"),  QStringLiteral("1.1.0.0"),  QStringLiteral("1.0.0.1"),
        QStringLiteral("1.0.0.0"),  QStringLiteral("0.9.19.3"), QStringLiteral("0.9.19.2"),
        QStringLiteral("0.9.19.1"), QStringLiteral("0.9.19.0"), QStringLiteral("0.9.18.0"),
        QStringLiteral("0.9.17.0"), QStringLiteral("0.9.16.0"),
    };
    return versions;
}

void FillReleaseNotes(QTextEdit& text) {
    const double base = BaseSize(text);
    CNotesWriter notes(text);
    notes.Title(QStringLiteral("Release Notes"), base + 4);
    notes.Heading(ToQString(orvik::kGeneratorVersion));
    WriteThisVersion(notes);
}
