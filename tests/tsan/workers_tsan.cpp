// The look-up workers under ThreadSanitizer: a whole start of 51 programs on a pool of real threads over a
// file system that answers after a random short wait (so in a random order), then refreshes asked while
// the window's thread refills the grid and takes answers in. Exits 0 when the grid ends as the files are;
// a data race ends it through the sanitizer.
#include "app/Main.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/ThreadPool.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>

namespace {

using platform::Text;
using platform::TextView;

// The headless disk behind one lock, each call first waiting 0 to 2 ms.
class ShuffledFiles : public platform::HeadlessFileSystem {
public:
    using HeadlessFileSystem::HeadlessFileSystem;
    platform::FileLookup LookupFile(TextView path) override {
        Pause();
        const std::lock_guard lock(mutex_);
        return HeadlessFileSystem::LookupFile(path);
    }
    std::optional<std::string> ReadFileBytes(TextView path, std::size_t maxBytes) override {
        Pause();
        const std::lock_guard lock(mutex_);
        return HeadlessFileSystem::ReadFileBytes(path, maxBytes);
    }
    std::unique_ptr<platform::FileReader> OpenFile(TextView path) override {
        Pause();
        const std::lock_guard lock(mutex_);
        return HeadlessFileSystem::OpenFile(path);
    }
    void Add(TextView path) {
        const std::lock_guard lock(mutex_);
        AddFile(path);
    }

private:
    static void Pause() {
        thread_local std::mt19937 random(std::random_device{}());
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    }
    std::mutex mutex_;
};

Text Exe(int id) {
    return u"C:\\Suite\\P" + platform::DecimalText(id) + u"\\p.exe";
}

} // namespace

int main() {
    ShuffledFiles files(u"C:\\Launcher");
    files.AddFolder(u"C:\\Launcher\\data");
    catalogue::Catalogue cat;
    cat.progCount = 51;
    cat.showall = catalogue::kTrue;
    for (int id = 0; id < 51; ++id) {
        const Text picture = u"C:\\Launcher\\data\\p" + platform::DecimalText(id) + u".bmp";
        cat.progList[static_cast<std::size_t>(id)] = {
            u"P" + platform::DecimalText(id), Exe(id), picture, u"", u"", catalogue::kTrue};
        cat.order[static_cast<std::size_t>(id)] = static_cast<std::int16_t>(id);
        files.AddFile(picture, platform::EncodeBmp(platform::Bitmap(8, 8, platform::kWhite)));
        if (id % 2 == 0) {
            files.AddFile(Exe(id));
        }
    }
    files.AddTextFile(u"C:\\Launcher\\data\\progdata.xml", catalogue::SettingsText(cat));

    platform::HeadlessSystem system;
    std::mutex mutex;
    std::condition_variable woken;
    bool wake = false;
    platform::ThreadPool workers(8, [&] {
        const std::lock_guard lock(mutex);
        wake = true;
        woken.notify_one();
    });
    launcher::Launcher app(system, files, &workers);
    if (!app::Main(app)) {
        return 1;
    }
    // The odd programs are installed while the launcher runs; each round the window is activated again and
    // scrolled while the answers come in.
    for (int round = 0; round < 20; ++round) {
        files.Add(Exe(2 * round + 1));
        app.form.onActivate();
        for (int step = 0; step < 5; ++step) {
            (void)app.form.VScroll.SetValue(static_cast<std::int16_t>(step % 2));
            std::unique_lock lock(mutex);
            woken.wait_for(lock, std::chrono::milliseconds(20), [&] { return wake; });
            wake = false;
            lock.unlock();
            workers.RunPosted();
        }
    }
    // Every answer in: the grid shows every program of the first 41 in colour.
    for (int i = 0; i < 500 && app.kept.Outstanding() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        workers.RunPosted();
    }
    (void)app.form.VScroll.SetValue(0);
    for (int k = 0; k < 41; ++k) {
        if (app.form.progName[k].foreColor == launcher::kGreyedName) {
            std::printf("tile %d is still greyed\n", k);
            return 1;
        }
    }
    std::printf("workers: 51 programs, 20 refreshes, no race found\n");
    return 0;
}
