// The Dialogs seam: every modal message box, file-save, print and printer-setup dialog, and
// the desktop's "open" of a web or mail address, go through it. The program uses
// DesktopDialogs; tests script the answers and record what was shown.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// A file-save dialog as the program asks for one.
struct SaveFileRequest {
    QString title;
    QString directory;       // initial directory
    QString fileName;        // proposed name, without directory
    QStringList filters;     // entries such as "Отчёт (*.txt)", in order
    // The files each entry lists ("*.csv"), when the entries are to read exactly as given
    // (no pattern of their own); empty: each entry names its files in brackets at its end.
    QStringList patterns;
    int filterIndex = 1;     // entry chosen at the start, counted from 1
};

struct SaveFileChoice {
    QString fileName;        // full path as chosen (no extension forced)
    int filterIndex = 1;     // entry chosen, counted from 1
};

class Dialogs {
public:
    enum class Answer { Yes, No, Closed };

    virtual ~Dialogs() = default;

    // Plain box titled with the application title "Kelmora", no icon, OK.
    virtual void message(const QString& text) = 0;
    // Box titled "Warning" with a warning icon and the buttons Yes and No.
    virtual Answer warning(const QString& text) = 0;
    // Box titled "Error" with an error icon and OK.
    virtual void error(const QString& text) = 0;
    // The standard error box: titled "Kelmora", error icon, OK. The text is shown as given
    // (StandardErrorText has already appended the full stop).
    virtual void standardError(const QString& text) = 0;

    // Modal save dialog; nothing when the user cancels.
    virtual std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) = 0;
    // Modal print dialog over the given printer: all pages or a page range minPage..maxPage
    // (no range offered when maxPage is 0), no selection; printing into a PDF file only when
    // toFile is set. True when the user confirmed; the choice is in the printer.
    virtual bool print(QPrinter& printer, int minPage, int maxPage, bool toFile = false) = 0;
    // Modal printer setup dialog: the printer list and the printer's properties, no page
    // range; true when confirmed.
    virtual bool printerSetup(QPrinter& printer) = 0;
    // Whether the printing service knows any printer.
    virtual bool printersInstalled() = 0;

    // The desktop's "open" of an address (https://… or mailto:…). Nothing is reported when it fails.
    virtual void openAddress(const QString& address) = 0;

    // While a modal dialog is up, the boxes and file dialogs it leads to belong to it, so they
    // stack above it (a dialog kept on top would otherwise cover its own questions). Whoever
    // runs a modal dialog holds a scope naming it for as long as the dialog runs; scopes nest.
    class OwnerScope {
    public:
        OwnerScope(Dialogs& dialogs, QWidget* owner) : dialogs_(dialogs), previous_(dialogs.scopedOwner_)
        {
            dialogs.scopedOwner_ = owner;
        }
        ~OwnerScope() { dialogs_.scopedOwner_ = previous_; }
        OwnerScope(const OwnerScope&) = delete;
        OwnerScope& operator=(const OwnerScope&) = delete;

    private:
        Dialogs& dialogs_;
        QWidget* previous_;
    };
    // The window of the innermost scope; nullptr outside any.
    QWidget* scopedOwner() const { return scopedOwner_; }

private:
    QWidget* scopedOwner_ = nullptr;
};

// The real boxes and dialogs, owned by the window of the innermost owner scope, else by the
// modal dialog that is up, else by the given window (centred over their owner).
class DesktopDialogs : public Dialogs {
public:
    explicit DesktopDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const QString& text) override;
    Answer warning(const QString& text) override;
    void error(const QString& text) override;
    void standardError(const QString& text) override;
    std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) override;
    bool print(QPrinter& printer, int minPage, int maxPage, bool toFile = false) override;
    bool printerSetup(QPrinter& printer) override;
    bool printersInstalled() override;
    void openAddress(const QString& address) override;

private:
    QWidget* owner() const;
    QWidget* owner_;
};
