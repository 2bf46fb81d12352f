#pragma once

class QPrinter;

namespace qb {

// An MDI child that prints itself (a text window such as the heddle counts):
// File > Print... and Print Preview print it when it is active.
class IPrintableWindow {
public:
    virtual ~IPrintableWindow() = default;
    // The platform's print dialog, then print().
    virtual void printWithDialog() = 0;
    virtual void print(QPrinter* printer) const = 0;
};

} // namespace qb
