// SPDX-License-Identifier: Apache-2.0
#include "Pipeline.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <vellmeta/Decode.h>

#include "HeaderFile.h"
#include "Progress.h"

namespace vellmeta::cli {

namespace {

constexpr std::size_t kFlushAt = 64 * 1024; // bytes of report gathered before they are written
// Inputs in flight: per worker thread, and at most (memory: a slot holds a
// header, a decoded container and an entry, some 16 KiB).
constexpr std::size_t kSlotsPerJob = 16;
constexpr std::size_t kMostSlots = 1024;

// One input on its way through the run: read, decoded and prepared by a
// worker, then taken by the sink on the thread that walks the inputs. A slot
// is reused once taken.
struct Slot {
    Input input;
    HeaderBytes header{};
    std::string problem; // what makes the input unusable; empty if it decoded
    bool decoded = false;
    Decoded clip;
    std::string entry; // what the sink prepared of the clip
    bool done = false; // guarded by Pipeline::mutex_
};

// The report and the messages, written to the streams in order; progress
// shares standard error.
class StreamOutput : public Output {
public:
    StreamOutput(std::ostream& out, std::ostream& err, Progress& progress) : out_(out), err_(err), progress_(progress) {}

    std::string& report() override { return buffer_; }

    void message(std::string_view text) override
    {
        flush(); // the report so far reaches a shared terminal before the message
        err_ << "vellmeta: " << text << '\n';
    }
    using Output::message;

    void flushIfLarge()
    {
        if (buffer_.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        // Standard output may share the terminal with the progress line.
        const bool cleared = progress_.clear();
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        if (cleared)
            out_.flush();
        buffer_.clear();
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    Progress& progress_;
    std::string buffer_;
};

class Pipeline {
public:
    Pipeline(const PipelineOptions& options, Sink& sink, std::ostream& out, std::ostream& err)
        : options_(options), sink_(sink),
          progress_(err, options.progress != PipelineOptions::Progress::Off,
                    options.progress == PipelineOptions::Progress::On, options.errIsTerminal),
          output_(out, err, progress_)
    {
        const int jobs = std::clamp(options.jobs, 1, kMostJobs);
        jobs_ = jobs > 1 ? jobs : 0;
        const std::size_t jobCount = static_cast<std::size_t>(jobs);
        slots_.resize(jobs > 1 ? std::max(2 * jobCount, std::min(jobCount * kSlotsPerJob, kMostSlots)) : 1);
        // The writer sleeps until half the slots are done, so that it and the
        // workers wake once per batch of files rather than once per file.
        batch_ = slots_.size() / 2;
    }

    int run(const std::vector<std::string>& arguments, const WalkOptions& walk)
    {
        sink_.begin(output_);
        walkInputs(arguments, walk, [this](Input&& input) { add(std::move(input)); });
        progress_.setTotal(files_);
        if (jobs_ > 0) {
            while (taken_ < filled_)
                takeNext();
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                walkEnded_ = true;
            }
            queued_.notify_all();
            for (std::thread& worker : workers_)
                worker.join();
        }
        const bool inputsUnusable = status_ == kUnusable;
        status_ = std::max(status_, sink_.end(output_, inputsUnusable));
        output_.flush();
        progress_.finish();
        return status_;
    }

private:
    // Takes the next input: with one job it is read, decoded and taken at
    // once; otherwise it waits in a slot for a worker, and whatever is done,
    // in input order, is taken meanwhile.
    void add(Input&& input)
    {
        if (input.kind != Input::Kind::Note)
            ++files_;
        if (jobs_ == 0) {
            Slot& slot = slots_[0];
            slot.input = std::move(input);
            readStandardInputOf(slot);
            process(slot);
            take(slot);
            return;
        }
        while (filled_ - taken_ == slots_.size())
            takeNext();
        Slot& slot = slots_[filled_ % slots_.size()];
        slot.input = std::move(input);
        readStandardInputOf(slot);
        bool wake = false;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            slot.done = false;
            ++filled_;
            wake = idleWorkers_ > 0;
        }
        // A worker per input until there are enough: a run of three files
        // starts three threads whatever -j says.
        if (static_cast<int>(workers_.size()) < jobs_)
            workers_.emplace_back([this] { work(); });
        else if (wake) // a wake-up costs a system call: only for a sleeping worker
            queued_.notify_one();
        while (taken_ < filled_ && takeIfDone())
            take(slots_[(taken_ - 1) % slots_.size()]);
    }

    // Standard input is read on this thread, so that each `-` takes the next
    // header.
    static void readStandardInputOf(Slot& slot)
    {
        if (slot.input.kind == Input::Kind::StandardInput)
            slot.problem = readStandardInput(slot.header);
    }

    // Reads, decodes and, on a worker, prepares one input.
    void process(Slot& slot) const
    {
        slot.decoded = false;
        slot.entry.clear();
        switch (slot.input.kind) {
        case Input::Kind::Problem:
        case Input::Kind::Note: slot.problem = slot.input.message; return;
        case Input::Kind::File: slot.problem = readHeader(slot.input.path, slot.header, slot.input.foundByWalk); break;
        case Input::Kind::StandardInput: break; // read already
        }
        if (!slot.problem.empty())
            return;
        decodeInto(slot.clip, slot.header.data(), options_.colorSpace);
        slot.decoded = true;
        if (jobs_ > 0)
            sink_.prepare(slot.entry, slot.clip, slot.input.path);
    }

    // Whether the oldest input in flight is done; if so it is taken.
    bool takeIfDone()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!slots_[taken_ % slots_.size()].done)
            return false;
        --doneCount_;
        ++taken_;
        return true;
    }

    void work()
    {
        for (;;) {
            Slot* slot = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ++idleWorkers_;
                queued_.wait(lock, [this] { return claimed_ < filled_ || walkEnded_; });
                --idleWorkers_;
                if (claimed_ == filled_)
                    return;
                slot = &slots_[claimed_++ % slots_.size()];
            }
            process(*slot);
            bool wake = false;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                slot->done = true;
                ++doneCount_;
                wake = writerWaiting_ && mayTake();
            }
            if (wake)
                finished_.notify_one();
        }
    }

    // The oldest input in flight is done, and so is a batch of them (or all).
    bool mayTake() const
    {
        return slots_[taken_ % slots_.size()].done && (doneCount_ >= batch_ || doneCount_ == filled_ - taken_);
    }

    // Waits for the oldest input in flight (and a batch after it) and takes it.
    void takeNext()
    {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            writerWaiting_ = true;
            finished_.wait(lock, [this] { return mayTake(); });
            writerWaiting_ = false;
            --doneCount_;
            ++taken_;
        }
        take(slots_[(taken_ - 1) % slots_.size()]);
    }

    // One input's message, or its clip to the sink.
    void take(const Slot& slot)
    {
        if (!slot.problem.empty()) {
            if (slot.input.kind != Input::Kind::Note)
                status_ = kUnusable;
            output_.message(slot.input.path, slot.problem);
        }
        if (slot.decoded) {
            sink_.take(output_, slot.clip, slot.input.path, jobs_ > 0 ? &slot.entry : nullptr);
            output_.flushIfLarge();
        }
        if (slot.input.kind != Input::Kind::Note)
            progress_.fileDone();
    }

    const PipelineOptions& options_;
    Sink& sink_;
    Progress progress_;
    StreamOutput output_;
    int jobs_ = 0; // worker threads to start; 0: everything on this thread
    int status_ = kAllDecoded;
    std::uint64_t files_ = 0; // inputs that count as files (notes do not)

    std::vector<Slot> slots_;
    std::size_t batch_ = 1;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable queued_;   // an input waits for a worker, or the walk has ended
    std::condition_variable finished_; // a worker has finished an input
    // Changed by this thread only, under mutex_ (so it reads them without):
    std::size_t filled_ = 0; // inputs given to workers
    std::size_t taken_ = 0;  // inputs taken by the sink
    bool walkEnded_ = false;
    // Under mutex_:
    std::size_t claimed_ = 0;    // inputs a worker has taken
    int idleWorkers_ = 0;        // workers waiting for an input
    bool writerWaiting_ = false; // this thread waits for a worker
    std::size_t doneCount_ = 0;  // inputs done and not yet taken
};

} // namespace

int runPipeline(const std::vector<std::string>& arguments, const WalkOptions& walk, const PipelineOptions& options,
                Sink& sink, std::ostream& out, std::ostream& err)
{
    return Pipeline(options, sink, out, err).run(arguments, walk);
}

} // namespace vellmeta::cli
