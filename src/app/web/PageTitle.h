#pragma once

class QApplication;

// The browser tab shows the sheet's caption: document.title follows the title of the window that
// is active, so a person and a test can tell the page by it.
void FollowWindowTitleInPage(QApplication& app);
