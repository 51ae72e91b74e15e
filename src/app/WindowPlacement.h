#pragma once

#include <QString>

class QWidget;

namespace zelvan {

class ShellSettings;

// Twips (1/1440 inch) per pixel on the window's screen, from its logical resolution.
double twipsPerPixelX(const QWidget& window);
double twipsPerPixelY(const QWidget& window);

// Restores (restore = true) or saves the window's state, position and size: "State" ("0"
// normal, "1" minimised, "2" maximised), then "Top", "Left", "Height", "Width" in twips.
void PersistWindowPlacement(bool restore, ShellSettings& settings, QWidget& window);

// Puts the window in the middle of its screen at its current size.
void centreWindow(QWidget& window);

} // namespace zelvan
