#include "Batch.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include <unistd.h>

#include "Dump.h"
#include "FileProblems.h"
#include "Progress.h"

namespace vellmeta {

namespace {

constexpr std::size_t kFlushAt = 64 * 1024; // bytes of report gathered before they are written
// Inputs in flight: per worker thread, and at most (memory: a slot holds
// a header and an entry, some 8 KiB).
constexpr std::size_t kSlotsPerJob = 16;
constexpr std::size_t kMostSlots = 1024;

// One input on its way through the batch: read, decoded and formatted by a
// worker, then written by the thread that walks the inputs. A slot is reused
// once written, so a run's memory is that of its slots however many files
// there are.
struct Slot {
    Input input;
    HeaderBytes header{};
    std::string problem; // what makes the input unusable; empty if it decoded
    bool decoded = false;
    bool failed = false; // the header reported a failure
    std::string entry;   // the clip's entry in the report (worker threads)
    bool done = false;   // guarded by Batch::mutex_
};

// Reads standard input's first 2480 bytes; empty text on success.
std::string readStandardInput(HeaderBytes& header)
{
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::read(STDIN_FILENO, header.data() + got, header.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::string("cannot read: ") + std::strerror(errno);
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return headerSizeProblem(got);
}

class Batch {
public:
    Batch(const BatchOptions& options, Vmc::ClipReport& report, std::ostream& out, std::ostream& err)
        : options_(options), report_(report), out_(out), err_(err),
          progress_(err, options.progress != BatchOptions::Progress::Off, options.progress == BatchOptions::Progress::On,
                    options.errIsTerminal)
    {
        const int jobs = std::clamp(options.jobs, 1, kMostJobs);
        jobs_ = jobs > 1 ? jobs : 0;
        const std::size_t jobCount = static_cast<std::size_t>(jobs);
        slots_.resize(jobs > 1 ? std::max(2 * jobCount, std::min(jobCount * kSlotsPerJob, kMostSlots)) : 1);
        // The writer sleeps until half the slots are done, so that it and the
        // workers wake once per batch of files rather than once per file.
        batch_ = slots_.size() / 2;
        report_.begin(buffer_);
    }

    int run(const std::vector<std::string>& arguments, const WalkOptions& walk)
    {
        walkInputs(arguments, walk, [this](Input&& input) { add(std::move(input)); });
        progress_.setTotal(files_);
        if (jobs_ > 0) {
            while (written_ < filled_)
                writeNext();
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                walkEnded_ = true;
            }
            queued_.notify_all();
            for (std::thread& worker : workers_)
                worker.join();
        }
        report_.end(buffer_);
        flush();
        progress_.finish();
        out_.flush();
        return status_;
    }

private:
    // Takes the next input: with one job it is read and written at once;
    // otherwise it waits in a slot for a worker, and whatever is done, in
    // input order, is written meanwhile.
    void add(Input&& input)
    {
        if (input.kind != Input::Kind::Note)
            ++files_;
        if (jobs_ == 0) {
            Slot& slot = slots_[0];
            slot.input = std::move(input);
            prepare(slot);
            readAndDecode(slot, clip_);
            write(slot);
            return;
        }
        while (filled_ - written_ == slots_.size())
            writeNext();
        Slot& slot = slots_[filled_ % slots_.size()];
        slot.input = std::move(input);
        prepare(slot);
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
        while (written_ < filled_ && takeIfDone())
            write(slots_[(written_ - 1) % slots_.size()]);
    }

    // Standard input is read here, so that each `-` takes the next header.
    static void prepare(Slot& slot)
    {
        if (slot.input.kind == Input::Kind::StandardInput)
            slot.problem = readStandardInput(slot.header);
    }

    // Whether the oldest input in flight is done; if so it is taken for writing.
    bool takeIfDone()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!slots_[written_ % slots_.size()].done)
            return false;
        --doneCount_;
        ++written_;
        return true;
    }

    void work()
    {
        DecodedClip clip;
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
            readAndDecode(*slot, clip);
            slot->entry.clear();
            if (slot->decoded)
                report_.entry(slot->entry, clip.container, clip.result(slot->input.path));
            bool wake = false;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                slot->done = true;
                ++doneCount_;
                wake = writerWaiting_ && writerMayGo();
            }
            if (wake)
                finished_.notify_one();
        }
    }

    void readAndDecode(Slot& slot, DecodedClip& clip) const
    {
        slot.decoded = false;
        switch (slot.input.kind) {
        case Input::Kind::Problem:
        case Input::Kind::Note: slot.problem = slot.input.message; return;
        case Input::Kind::File: slot.problem = readHeader(slot.input.path, slot.header, slot.input.foundByWalk); break;
        case Input::Kind::StandardInput: break; // read already
        }
        if (!slot.problem.empty())
            return;
        // A decode keeps what the header leaves undefined: each clip starts afresh.
        forgetFields(clip.container);
        decodeHeader(slot.header, options_.colorSpace, clip);
        slot.decoded = true;
        slot.failed = clip.isError;
    }

    // The oldest input in flight is done, and so is a batch of them (or all).
    bool writerMayGo() const
    {
        return slots_[written_ % slots_.size()].done && (doneCount_ >= batch_ || doneCount_ == filled_ - written_);
    }

    // Waits for the oldest input in flight (and a batch after it) and writes it.
    void writeNext()
    {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            writerWaiting_ = true;
            finished_.wait(lock, [this] { return writerMayGo(); });
            writerWaiting_ = false;
            --doneCount_;
            ++written_;
        }
        write(slots_[(written_ - 1) % slots_.size()]);
    }

    // Writes one input's message and entry; a single-job run formats the
    // entry here, with its one container.
    void write(const Slot& slot)
    {
        if (!slot.problem.empty()) {
            if (slot.input.kind != Input::Kind::Note)
                status_ = std::max(status_, static_cast<int>(kUnusable));
            flush(); // the report so far reaches a shared terminal before the message
            err_ << "vellmeta: " << Vmc::printable(slot.input.path) << ": " << slot.problem << '\n';
        }
        if (slot.decoded) {
            if (slot.failed)
                status_ = std::max(status_, static_cast<int>(kHeaderFailed));
            if (jobs_ > 0)
                report_.clip(buffer_, slot.entry);
            else
                report_.clip(buffer_, clip_.container, clip_.result(slot.input.path));
            if (buffer_.size() >= kFlushAt)
                flush();
        }
        if (slot.input.kind != Input::Kind::Note)
            progress_.fileDone();
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

    const BatchOptions& options_;
    Vmc::ClipReport& report_;
    std::ostream& out_;
    std::ostream& err_;
    Progress progress_;
    int jobs_ = 0; // worker threads to start; 0: everything on this thread
    int status_ = kAllDecoded;
    std::uint64_t files_ = 0; // inputs that count as files (notes do not)
    std::string buffer_;      // the report not yet written
    DecodedClip clip_;        // a single-job run's

    std::vector<Slot> slots_;
    std::size_t batch_ = 1;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable queued_;   // an input waits for a worker, or the walk has ended
    std::condition_variable finished_; // a worker has finished an input
    // Changed by this thread only, under mutex_ (so it reads them without):
    std::size_t filled_ = 0;  // inputs given to workers
    std::size_t written_ = 0; // inputs taken for writing
    bool walkEnded_ = false;
    // Under mutex_:
    std::size_t claimed_ = 0;     // inputs a worker has taken
    int idleWorkers_ = 0;         // workers waiting for an input
    bool writerWaiting_ = false;  // this thread waits for a worker
    std::size_t doneCount_ = 0;   // inputs done and not yet taken for writing
};

} // namespace

int runBatch(const std::vector<std::string>& arguments, const WalkOptions& walk, const BatchOptions& options,
             Vmc::ClipReport& report, std::ostream& out, std::ostream& err)
{
    return Batch(options, report, out, err).run(arguments, walk);
}

} // namespace vellmeta
