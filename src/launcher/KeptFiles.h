// What the tile grid shows of the files, found once and kept: whether each path names a file, each
// picture file decoded (one picture, the same object, for as long as the launcher runs), and the icon
// drawn for each executable. The window's thread reads only what is kept; fresh answers are asked of the
// workers, taken in on the window's thread, and a change is told through onChange.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "platform/Workers.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace launcher {

using platform::Text;
using platform::TextView;

class KeptFiles {
public:
    KeptFiles(platform::FileSystem& files, platform::Workers& workers);
    ~KeptFiles();
    KeptFiles(const KeptFiles&) = delete;
    KeptFiles& operator=(const KeptFiles&) = delete;

    // The kept answer of a look-up; nothing while the path has never been answered.
    std::optional<platform::FileLookup> Lookup(TextView path) const;
    // The kept picture of a picture file, null when it could not be read; nothing while never answered.
    std::optional<platform::Picture> PictureOf(TextView path) const;
    // The icon picture kept for an executable; null when none is kept. Forgotten when the executable's
    // look-up changes.
    platform::Picture IconOf(TextView path) const;
    void KeepIcon(TextView path, platform::Picture icon) { icons_[Text(path)] = std::move(icon); }
    // An answer found elsewhere on the window's thread (start-up's own look-ups), kept as it is.
    void Keep(TextView path, platform::FileLookup lookup) { lookups_[Text(path)] = std::move(lookup); }

    // Asks the workers again whether each of `lookups` names a file, and for each of `pictures` not yet
    // kept. A question whose answer is still outstanding is not asked twice.
    void Ask(const std::vector<Text>& lookups, const std::vector<Text>& pictures);
    // Waits up to `limit` for the outstanding answers (start-up only) and takes in those that came; whether
    // all came. One that comes later is taken in as any other.
    bool Await(std::chrono::milliseconds limit);
    // Questions asked and not yet answered.
    std::size_t Outstanding() const { return outstanding_.size(); }

    // Runs on the window's thread when answers taken in changed what is kept.
    std::function<void()> onChange;

private:
    struct Answer {
        Text path;
        bool picture = false; // a picture file's answer, else a look-up's
        platform::FileLookup lookup;
        platform::Picture decoded;
    };
    // Where the workers leave their answers; shared with the jobs and tasks so that it outlives them.
    struct Inbox {
        std::mutex mutex;
        std::vector<Answer> answers;
        bool posted = false;        // a task to take them in is on its way to the window's thread
        KeptFiles* owner = nullptr; // cleared when the kept files go
    };

    void Submit(const Text& path, bool picture);
    void TakeAnswers();

    platform::FileSystem& files_;
    platform::Workers& workers_;
    std::shared_ptr<Inbox> inbox_;
    std::map<Text, platform::FileLookup> lookups_;
    std::map<Text, platform::Picture> pictures_;
    std::map<Text, platform::Picture> icons_;
    std::set<std::pair<bool, Text>> outstanding_; // (picture, path)
    bool asking_ = false;
};

} // namespace launcher
