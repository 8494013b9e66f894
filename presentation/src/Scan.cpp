// SPDX-License-Identifier: Apache-2.0
// The one way clips are read: inputs are read and decoded, on up to `jobs`
// threads, in a bounded ring of slots, and taken in input order.
#include <vellmeta/Scan.h>
#include <vellmeta/System.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "HeaderFile.h"
#include "Walk.h"

namespace vellmeta {

namespace {

// Inputs in flight: per worker thread, and at most (memory: a slot holds a
// header, a decoded container and an entry, some 16 KiB).
constexpr std::size_t kSlotsPerJob = 16;
constexpr std::size_t kMostSlots = 1024;

// One input on its way through the scan: read, decoded and prepared by a
// worker, then taken on the scanning thread. A slot is reused once taken.
struct Slot {
    Input input;
    Scanned scanned;
    bool done = false; // guarded by Scan::mutex_
};

class Scan {
public:
    Scan(const ScanOptions& options, const std::function<void(Scanned&)>& take) : options_(options), take_(take)
    {
        const int jobs = std::clamp(options.jobs, 1, kMostJobs);
        jobs_ = jobs > 1 || options.readAhead ? jobs : 0;
        const std::size_t jobCount = static_cast<std::size_t>(jobs);
        slots_.resize(jobs_ > 0 ? std::max(2 * jobCount, std::min(jobCount * kSlotsPerJob, kMostSlots)) : 1);
        // The scanning thread sleeps until half the slots are done, so that
        // it and the workers wake once per batch of files rather than once
        // per file.
        batch_ = slots_.size() / 2;
    }

    void run(const std::vector<std::string>& inputs)
    {
        // Whatever goes wrong (an allocation failure), the workers are
        // stopped and joined before the scan gives up.
        const std::unique_ptr<Scan, void (*)(Scan*)> joiner(this, [](Scan* scan) { scan->stopWorkers(); });
        walkInputs(inputs, options_.walk, [this](Input&& input) { add(std::move(input)); });
        if (options_.walked)
            options_.walked(files_);
        while (taken_ < filled_)
            takeNext();
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
            take_(slot.scanned);
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
        // A worker per input until there are enough: a scan of three files
        // starts three threads whatever `jobs` says.
        if (static_cast<int>(workers_.size()) < jobs_)
            workers_.emplace_back([this] { work(); });
        else if (wake) // a wake-up costs a system call: only for a sleeping worker
            queued_.notify_one();
        while (taken_ < filled_ && takeIfDone())
            take_(slots_[(taken_ - 1) % slots_.size()].scanned);
    }

    // Standard input is read on the scanning thread, so that each `-` takes
    // the next header.
    static void readStandardInputOf(Slot& slot)
    {
        Scanned& s = slot.scanned;
        s.standardInput = slot.input.kind == Input::Kind::StandardInput;
        if (s.standardInput)
            s.message = readStandardInput(s.header);
    }

    // Reads, decodes and prepares one input.
    void process(Slot& slot) const
    {
        Scanned& s = slot.scanned;
        const Input& input = slot.input;
        s.path = input.path;
        s.hasFacts = false;
        s.entry.clear();
        switch (input.kind) {
        case Input::Kind::Problem:
        case Input::Kind::Note:
            s.kind = input.kind == Input::Kind::Note ? Scanned::Kind::Note : Scanned::Kind::Problem;
            s.message = input.message;
            return;
        case Input::Kind::File:
            if (const FileFacts* known = options_.known ? options_.known(input.path) : nullptr;
                known != nullptr && fileFacts(input.path, s.facts) && s.facts == *known) {
                s.kind = Scanned::Kind::Unchanged;
                s.hasFacts = true;
                s.message.clear();
                return;
            }
            s.message = readHeader(input.path, s.header, input.foundByWalk,
                                   options_.facts || options_.known ? &s.facts : nullptr);
            s.hasFacts = s.message.empty() && (options_.facts || options_.known);
            break;
        case Input::Kind::StandardInput: break; // read already
        }
        if (!s.message.empty()) {
            s.kind = Scanned::Kind::Problem;
            return;
        }
        s.kind = Scanned::Kind::Clip;
        decodeInto(s.clip, s.header.data(), options_.colorSpace);
        if (options_.prepare)
            options_.prepare(s);
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
                queued_.wait(lock, [this] { return claimed_ < filled_ || stopping_; });
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
                wake = takerWaiting_ && mayTake();
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
            takerWaiting_ = true;
            finished_.wait(lock, [this] { return mayTake(); });
            takerWaiting_ = false;
            --doneCount_;
            ++taken_;
        }
        take_(slots_[(taken_ - 1) % slots_.size()].scanned);
    }

    // Lets the workers finish what they have claimed, and joins them.
    void stopWorkers()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            claimed_ = std::max(claimed_, filled_); // nothing more is handed out
        }
        queued_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
        workers_.clear();
    }

    const ScanOptions& options_;
    const std::function<void(Scanned&)>& take_;
    int jobs_ = 0; // worker threads to start; 0: everything on this thread
    std::uint64_t files_ = 0; // inputs that count as files (notes do not)

    std::vector<Slot> slots_;
    std::size_t batch_ = 1;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable queued_;   // an input waits for a worker, or the scan stops
    std::condition_variable finished_; // a worker has finished an input
    // Changed by this thread only, under mutex_ (so it reads them without):
    std::size_t filled_ = 0; // inputs given to workers
    std::size_t taken_ = 0;  // inputs taken
    // Under mutex_:
    bool stopping_ = false;
    std::size_t claimed_ = 0;   // inputs a worker has taken
    int idleWorkers_ = 0;       // workers waiting for an input
    bool takerWaiting_ = false; // this thread waits for a worker
    std::size_t doneCount_ = 0; // inputs done and not yet taken
};

} // namespace

void scan(const std::vector<std::string>& inputs, const ScanOptions& options,
          const std::function<void(Scanned&)>& take)
{
    Scan(options, take).run(inputs);
}

} // namespace vellmeta
