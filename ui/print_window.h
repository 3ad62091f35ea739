#pragma once

class QPrinter;
class QWidget;

namespace kelvane::ui {

// Prints an image of the window, scaled to fit the page and kept in
// proportion. False when the printer could not be started.
bool printWindowImage(QWidget& window, QPrinter& printer);

// F12: asks where to print (a printer, or a PDF file) and prints the image.
void printWithDialog(QWidget& window);

}  // namespace kelvane::ui
