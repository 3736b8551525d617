#pragma once

class QWidget;

// The application's style: the toolkit's own, with dialog buttons without icons, as on Windows.
// Installed once per application; further calls do nothing.
void InstallApplicationStyle();
// Sets the "invalid" property and, when it changed, the widget's text colour: red, or what it
// inherits.
void MarkInvalid(QWidget* widget, bool invalid);
// Gives the widget's text the colours the application's palette has for it, whatever its parent's
// are: a pull-down's list keeps them while the pull-down is red.
void UseNaturalTextColours(QWidget* widget);
