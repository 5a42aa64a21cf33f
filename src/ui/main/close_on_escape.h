#pragma once

class QWidget;

// Escape anywhere in `window` closes it, as the close box does.
void closeOnEscape(QWidget* window);
