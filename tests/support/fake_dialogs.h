// A scripted Dialogs for widget tests: records every box (kind and text) and every dialog,
// and plays queued answers (Yes/No/Closed for warnings, file choices, print confirmations).
#pragma once

#include "widgets/dialogs.h"

#include <QPrinter>

#include <deque>
#include <optional>
#include <vector>

class FakeDialogs : public Dialogs {
public:
    enum class Kind { Message, Warning, Error, StandardError, SaveFile, Print, PrinterSetup, OpenAddress };
    struct Shown {
        Kind kind;
        QString text;  // the box text, the dialog title or the address
        QWidget* owner = nullptr;  // the owner scope's window at the time (nullptr: none)
    };

    // Answers, used in order; when none is queued a warning is answered No, a save dialog is
    // cancelled and the print dialogs are confirmed.
    std::deque<Answer> warningAnswers;
    std::deque<std::optional<SaveFileChoice>> saveAnswers;
    std::deque<bool> printAnswers;
    // Page range a confirmed print dialog chooses (0, 0: all pages).
    int printFromPage = 0;
    int printToPage = 0;

    std::vector<Shown> shown;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<std::pair<int, int>> printRanges;  // minPage, maxPage offered
    std::vector<bool> printToFileOffered;          // per print dialog: printing into a PDF file offered
    std::vector<int> fromPagesOffered;             // per print dialog: the printer's from-page when it opened
    // The printing service's printers; a confirmed dialog that offered a file prints into this one.
    bool hasPrinters = true;
    QString printFileName;
    // Where the print and printer-setup dialogs really open (the desktop's, driven by the test),
    // when given; the answers above are then not used.
    Dialogs* realPrinting = nullptr;

    void message(const QString& text) override { record(Kind::Message, text); }
    Answer warning(const QString& text) override
    {
        record(Kind::Warning, text);
        return take(warningAnswers, Answer::No);
    }
    void error(const QString& text) override { record(Kind::Error, text); }
    void standardError(const QString& text) override { record(Kind::StandardError, text); }
    std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) override
    {
        record(Kind::SaveFile, request.title);
        saveRequests.push_back(request);
        return take(saveAnswers, std::optional<SaveFileChoice>());
    }
    bool print(QPrinter& printer, int minPage, int maxPage, bool toFile = false) override
    {
        record(Kind::Print, QString());
        printRanges.emplace_back(minPage, maxPage);
        printToFileOffered.push_back(toFile);
        fromPagesOffered.push_back(printer.fromPage());
        if (realPrinting)
            return realPrinting->print(printer, minPage, maxPage, toFile);
        const bool ok = take(printAnswers, true);
        if (ok) {
            // As Qt's dialog leaves the printer: all pages clear the range.
            printer.setPrintRange(printFromPage > 0 ? QPrinter::PageRange : QPrinter::AllPages);
            printer.setFromTo(printFromPage, printToPage);
            if (toFile && !printFileName.isEmpty()) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(printFileName);
            }
        }
        return ok;
    }
    bool printerSetup(QPrinter& printer) override
    {
        record(Kind::PrinterSetup, QString());
        if (realPrinting)
            return realPrinting->printerSetup(printer);
        return take(printAnswers, true);
    }
    bool printersInstalled() override { return hasPrinters; }
    void openAddress(const QString& address) override { record(Kind::OpenAddress, address); }

    // Texts of the boxes of one kind, in order.
    QStringList texts(Kind kind) const
    {
        QStringList result;
        for (const Shown& s : shown)
            if (s.kind == kind)
                result << s.text;
        return result;
    }

private:
    void record(Kind kind, const QString& text) { shown.push_back({kind, text, scopedOwner()}); }

    template <typename T>
    static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
