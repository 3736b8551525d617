#pragma once

class CSheetWindow;

// The window in a browser page, whose own file system is in the page's memory, out of the user's
// reach: a file that OK or Apply writes goes to the browser as a download under its name, and a
// "Save log" button on the Intro page downloads the run's log as it stands.
void AdaptWindowToPage(CSheetWindow& window);
