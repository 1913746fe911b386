#pragma once

#include "print/print_host.h"
#include "print/recording_print_device.h"

#include <QList>
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>

namespace tarvik {

// A print host for tests: the print dialog answers come from queues set by
// the test, and every job is drawn on a fresh recording device kept in
// `jobs`. An unexpected dialog fails loudly instead of blocking.
class ScriptedPrintHost : public print::PrintHost
{
public:
    struct RangeAsked
    {
        int from;
        int to;
        int max;
    };
    struct Job
    {
        QString title;
        std::shared_ptr<print::RecordingPrintDevice> device;
    };

    // The answers of the print dialog with a page range (nullopt = Cancel).
    std::deque<std::optional<print::PageRange>> rangeAnswers;
    // The answers of the print dialog without a range.
    std::deque<bool> printerAnswers;
    // Whether a printer is there for the prints that do not ask.
    bool printerAvailable = true;
    // The size of the recording devices (portrait pixels and millimetres).
    int widthPx = 2362;
    int heightPx = 3390;
    int widthMm = 200;
    int heightMm = 287;
    // When set, every job fails to begin.
    bool failToBegin = false;

    QList<RangeAsked> rangesAsked;
    int printerDialogs = 0;
    int setups = 0;
    QList<Job> jobs;

    std::optional<print::PageRange> askPageRange(int from, int to, int max) override
    {
        rangesAsked.append({from, to, max});
        if (rangeAnswers.empty())
            throw std::logic_error("unexpected print dialog (page range)");
        auto answer = rangeAnswers.front();
        rangeAnswers.pop_front();
        return answer;
    }
    bool askPrinter() override
    {
        ++printerDialogs;
        if (printerAnswers.empty())
            throw std::logic_error("unexpected print dialog");
        const bool answer = printerAnswers.front();
        printerAnswers.pop_front();
        return answer;
    }
    bool printerReady() override { return printerAvailable || askPrinter(); }
    void print(const QString& title, const Draw& draw) override
    {
        auto device =
            std::make_shared<print::RecordingPrintDevice>(widthPx, heightPx, widthMm, heightMm);
        device->failToBegin = failToBegin;
        jobs.append({title, device});
        draw(*device);
    }
    void setupPrinter() override { ++setups; }

    // The device of the last job, or nullptr.
    print::RecordingPrintDevice* last() const
    {
        return jobs.isEmpty() ? nullptr : jobs.last().device.get();
    }
};

} // namespace tarvik
