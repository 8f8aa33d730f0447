#include "report/report_document.h"

ReportDocument::ReportDocument(std::function<ReportSettings()> settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings))
{
}

ReportDocument::~ReportDocument() = default;

void ReportDocument::build(bool fromReading)
{
    if (building_) {
        buildPending_ = true;
        pendingFromReading_ = pendingFromReading_ && fromReading;
        return;
    }
    building_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{building_};

    for (;;) {
        ReportSettings settings = settings_();
        settings.cache = &conversions_;
        auto table = std::make_shared<const ReportTable>(::BuildReport(state_, settings, fromReading, fromReading ? nullptr : progress_));
        emit built(table);
        if (!buildPending_)
            break;
        buildPending_ = false;
        fromReading = pendingFromReading_;
        pendingFromReading_ = true;
    }
}
