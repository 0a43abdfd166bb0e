#pragma once

class QWidget;

// Moves a top-level window to the middle of the primary screen, measuring the
// window by its outer frame. Called before the window is first shown, it
// centres again once the window manager has framed it.
void CentreOnScreen(QWidget& window);
