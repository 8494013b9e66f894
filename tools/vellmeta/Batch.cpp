#include "Batch.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include <unistd.h>

#include "Dump.h"
#include "Progress.h"

namespace vellmeta {

namespace {

constexpr std::size_t kFlushAt = 64 * 1024; // bytes of report gathered before they are written

// One input on its way through the batch: read and decoded by a worker, then
// written by the writer. A slot is reused once written, so the memory of a
// run is that of its slots however many files there are.
struct Slot {
    Input input;
    HeaderBytes header{};
    bool headerRead = false; // standard input, read by the thread that walks the inputs
    std::string problem;     // what makes the input unusable, empty if it decoded
    bool decoded = false;
    bool failed = false;     // the header reported a failure
    std::uint32_t code = 0;
    std::string message;     // the header's failure message
    std::string entry;       // the formatted clip (worker threads only)
    bool done = false;       // guarded by Batch::mutex_
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
    return shortHeaderProblem(got);
}

class Batch {
public:
    Batch(const BatchOptions& options, ClipFormatter& formatter, std::ostream& out, std::ostream& err)
        : options_(options), formatter_(formatter), out_(out), err_(err),
          progress_(err, options.progress != BatchOptions::Progress::Off, options.progress == BatchOptions::Progress::On,
                    options.errIsTerminal)
    {
        const int jobs = std::clamp(options.jobs, 1, kMostJobs);
        if (jobs > 1) {
            jobs_ = jobs;
            slots_.resize(static_cast<std::size_t>(jobs) * 4);
        } else {
            slots_.resize(1);
        }
        formatter_.begin(report_);
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
        formatter_.end(report_, anyClip_);
        flush();
        progress_.finish();
        out_.flush();
        return status_;
    }

private:
    // Takes the next input: with one job it is read and written at once;
    // otherwise it waits in a slot for a worker, and whatever is done in
    // input order is written meanwhile.
    void add(Input&& input)
    {
        if (input.kind != Input::Kind::Note)
            ++files_;
        if (jobs_ == 0) {
            Slot& slot = slots_[0];
            slot.input = std::move(input);
            prepare(slot);
            readAndDecode(slot, container_);
            write(slot, nullptr);
            ++filled_;
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
        while (written_ < filled_ && isDone(slots_[written_ % slots_.size()]))
            writeNext();
    }

    void prepare(Slot& slot)
    {
        slot.headerRead = false;
        if (slot.input.kind == Input::Kind::StandardInput) {
            // Read here, so that several `-` take standard input in their order.
            slot.problem = readStandardInput(slot.header);
            slot.headerRead = true;
        }
    }

    bool isDone(const Slot& slot)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return slot.done;
    }

    void work()
    {
        const std::unique_ptr<ClipFormatter> formatter = formatter_.copy();
        Vmc::VellMetadataContainer container;
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
            readAndDecode(*slot, container);
            slot->entry.clear();
            if (slot->decoded)
                formatter->clip(slot->entry, container, result(*slot));
            bool wake = false;
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                slot->done = true;
                wake = writerWaiting_;
            }
            if (wake)
                finished_.notify_one();
        }
    }

    void readAndDecode(Slot& slot, Vmc::VellMetadataContainer& container)
    {
        slot.decoded = false;
        switch (slot.input.kind) {
        case Input::Kind::Problem:
        case Input::Kind::Note:
            slot.problem = slot.input.message;
            return;
        case Input::Kind::File:
            slot.problem = readHeader(slot.input.path, slot.header, slot.input.foundByWalk);
            break;
        case Input::Kind::StandardInput:
            break; // read already
        }
        if (!slot.problem.empty())
            return;
        // A decode keeps what the header leaves undefined, so each clip starts afresh.
        static const Vmc::VellMetadataContainer kFresh;
        container = kFresh;
        Vmc::ErrorValue outcome = container.initFromHeader(
            reinterpret_cast<const VellRawMeta::VellFileHeaderV3*>(slot.header.data()), options_.colorSpace);
        slot.decoded = true;
        slot.failed = outcome.isError;
        slot.code = outcome.code;
        slot.message.assign(outcome.message != nullptr ? outcome.message : "");
        std::free(outcome.message); // the result's message is ours to release
    }

    static Vmc::ClipResult result(const Slot& slot)
    {
        return {slot.input.path, slot.failed, slot.code, slot.message};
    }

    // Waits for the oldest input in flight and writes it.
    void writeNext()
    {
        Slot& slot = slots_[written_ % slots_.size()];
        {
            std::unique_lock<std::mutex> lock(mutex_);
            writerWaiting_ = true;
            finished_.wait(lock, [&] { return slot.done; });
            writerWaiting_ = false;
        }
        write(slot, &slot.entry);
        ++written_;
    }

    // Writes one input's message or entry. `entry`: formatted by a worker;
    // null: formatted here, with the one container of a single-job run.
    void write(const Slot& slot, const std::string* entry)
    {
        if (!slot.problem.empty()) {
            if (slot.input.kind != Input::Kind::Note)
                status_ = std::max(status_, static_cast<int>(kUnusable));
            flush(); // what came before the message reaches a shared terminal first
            progress_.clear();
            err_ << "vellmeta: " << printable(slot.input.path) << ": " << slot.problem << '\n';
        }
        if (slot.decoded) {
            if (slot.failed)
                status_ = std::max(status_, static_cast<int>(kHeaderFailed));
            formatter_.separator(report_, !anyClip_);
            anyClip_ = true;
            if (entry != nullptr)
                report_ += *entry;
            else
                formatter_.clip(report_, container_, result(slot));
            if (report_.size() >= kFlushAt)
                flush();
        }
        if (slot.input.kind != Input::Kind::Note)
            progress_.fileDone();
    }

    void flush()
    {
        out_.write(report_.data(), static_cast<std::streamsize>(report_.size()));
        report_.clear();
    }

    const BatchOptions& options_;
    ClipFormatter& formatter_;
    std::ostream& out_;
    std::ostream& err_;
    Progress progress_;
    int jobs_ = 0; // worker threads to start; 0: everything on this thread
    int status_ = kAllDecoded;
    bool anyClip_ = false;
    std::uint64_t files_ = 0; // inputs that count as files done (notes do not)
    std::string report_;
    Vmc::VellMetadataContainer container_; // a single-job run's

    std::vector<Slot> slots_;
    std::vector<std::thread> workers_;
    std::size_t written_ = 0; // inputs written; this thread's alone
    std::mutex mutex_;
    std::condition_variable queued_;   // an input is waiting for a worker, or the walk has ended
    std::condition_variable finished_; // a worker has finished an input
    std::size_t filled_ = 0;   // inputs given to the batch (changed under mutex_ with workers)
    std::size_t claimed_ = 0;  // inputs a worker has taken (mutex_)
    bool walkEnded_ = false;   // (mutex_)
    int idleWorkers_ = 0;      // workers waiting for an input (mutex_)
    bool writerWaiting_ = false; // this thread waits for a worker (mutex_)
};

} // namespace

int runBatch(const std::vector<std::string>& arguments, const WalkOptions& walk, const BatchOptions& options,
             ClipFormatter& formatter, std::ostream& out, std::ostream& err)
{
    return Batch(options, formatter, out, err).run(arguments, walk);
}

} // namespace vellmeta
