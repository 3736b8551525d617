#pragma once

#include "sheet/SheetObserver.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <atomic>

class CMarnelPropertySheet;
class CSheetWindow;

// Keeps a copy of the window's answers in the user's state folder while they are unsaved, so that a
// run that ends without a save (a crash, a power cut) loses at most a second of typing; and at start
// offers the copy a run like that left behind.
//
// The copy is the file a save would write. It is built on the user-interface thread a second after
// the last change, never per keystroke, and written by one worker, one write at a time. A clean end
// of the window (OK, or Cancel with nothing to lose) and every save or load that leaves nothing
// unsaved remove it; answers discarded with Cancel keep their copy until the next start offers it.
class CRecoveryKeeper : public QObject, public ISheetObserver {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 1000;

    // Watches the window's sheet until the window finishes; `folder` is where copies are kept (the
    // user's state folder unless a test gives its own).
    explicit CRecoveryKeeper(CSheetWindow& window, const QString& folder = StateFolder());
    ~CRecoveryKeeper() override;
    CRecoveryKeeper(const CRecoveryKeeper&) = delete;
    CRecoveryKeeper& operator=(const CRecoveryKeeper&) = delete;

    static QString StateFolder();
    // This window's copy, whether or not it exists now.
    QString CopyPath() const { return path_; }
    // A change since the last successful save or load.
    bool HasUnsavedChanges() const { return unsaved_; }
    // How many copies were written so far.
    int WriteCount() const { return writes_; }
    // Waits until the copy being written, if any, is on disk.
    void WaitForWrites();

    // At start: when a run that did not end cleanly left copies, asks once whether to restore the
    // newest into the form, and deletes them all.
    void OfferRestore();

    void SheetChanged(const SSheetChange& change) override;

private:
    void WriteCopy();
    // A clean end, or a save or load that leaves nothing unsaved.
    void NothingToLose();
    // A form with answers ended by Cancel: the copy is brought up to date and left behind.
    void KeepDiscardedAnswers();

    CSheetWindow& window_;
    // The window's sheet, which outlives the window and so this keeper.
    CMarnelPropertySheet& sheet_;
    QString folder_;
    QString path_;
    QTimer timer_;
    QThreadPool writer_;
    bool unsaved_ = false;
    bool watching_ = true;
    std::atomic<int> writes_{0};
};
