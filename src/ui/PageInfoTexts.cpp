#include "ui/PageInfoTexts.h"

namespace {

constexpr double kParagraphSpace = 8;

} // namespace

SPageInfo PageInfoOf(EPage page) {
    switch (page) {
    case EPage::Source:
        return {QStringLiteral("USB_Suspend_May_Be_Cleared"), &FillSourceSuspendInfo};
    case EPage::Sink:
        return {QStringLiteral("No_USB_Suspend_May_Be_Set"), &FillSinkSuspendInfo};
    default:
        return {};
    }
}

void FillSourceSuspendInfo(QTextEdit& text) {
    CRichAppender out(text);
    out.Plain(QStringLiteral("Every "))
        .Italic(QStringLiteral("Source_Capabilities"))
        .Plain(QStringLiteral(" message carries the bit "))
        .BoldItalic(QStringLiteral("USB Suspend Supported"))
        .Plain(
            QStringLiteral(". A Source normally sets it to 1. It may instead clear it to 0, which tells the "
                           "Sink that it does not have to obey USB Suspend and may keep drawing power while "
                           "the bus is suspended."));
    out.Paragraph(kParagraphSpace);
    out.Plain(QStringLiteral("If this product, acting as a Source, will ever set "))
        .BoldItalic(QStringLiteral("USB Suspend Supported"))
        .Plain(QStringLiteral(" to 0, answer YES to "))
        .Bold(QStringLiteral("USB_Suspend_May_Be_Cleared"))
        .Plain(QStringLiteral(". If it always sets the bit to 1, answer NO."));
}

void FillSinkSuspendInfo(QTextEdit& text) {
    CRichAppender out(text);
    out.Plain(QStringLiteral("Every "))
        .Italic(QStringLiteral("Request"))
        .Plain(QStringLiteral(" message carries the bit "))
        .BoldItalic(QStringLiteral("No USB Suspend"))
        .Plain(QStringLiteral(
            ". A Sink sets it to 1 to ask the Source to let it keep drawing power under its PD "
            "contract instead of obeying USB Suspend."));
    out.Paragraph(kParagraphSpace);
    out.Plain(QStringLiteral("If this product, acting as a Sink, will ever set "))
        .BoldItalic(QStringLiteral("No USB Suspend"))
        .Plain(QStringLiteral(" to 1, answer YES to "))
        .Bold(QStringLiteral("No_USB_Suspend_May_Be_Set"))
        .Plain(QStringLiteral(". If it always leaves the bit at 0, answer NO."));
}
