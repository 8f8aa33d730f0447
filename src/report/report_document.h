// The report held in memory and its builds: the records, interval and titles the report pages
// show, the conversions kept from build to build, and the rule that a build asked for while a
// build lets window messages run is not nested into it but runs right after it.
#pragma once

#include "logging/report_state.h"
#include "report/report_builder.h"

#include <QObject>

#include <functional>
#include <memory>

class WaitProgress;

class ReportDocument : public QObject {
    Q_OBJECT
public:
    // settings: what a build is made from (display mode, thresholds, colours), asked anew for
    // every build, so that a change made while a build runs counts for the one after it.
    explicit ReportDocument(std::function<ReportSettings()> settings, QObject* parent = nullptr);
    ~ReportDocument() override;

    ReportState& state() { return state_; }
    const ReportState& state() const { return state_; }

    // The wait window of builds that are not a reading's (may be null: none). A reading's build
    // neither shows it nor lets other events run: it is a step of the reading.
    void setProgress(WaitProgress* progress) { progress_ = progress; }

    // Rebuilds the table, statistics and title from the state and emits built() with it. A
    // build asked for while another one lets window messages run is remembered and run once
    // that one is done (as a reading's build only when every such request was a reading's):
    // nesting it would show its table and then have the outer build replace it with an older
    // one.
    void build(bool fromReading);
    bool building() const { return building_; }

signals:
    void built(std::shared_ptr<const ReportTable> table);

private:
    std::function<ReportSettings()> settings_;
    ReportState state_;
    ConversionCache conversions_;
    WaitProgress* progress_ = nullptr;
    bool building_ = false;
    bool buildPending_ = false;
    bool pendingFromReading_ = true;
};
