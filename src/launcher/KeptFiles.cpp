// What the tile grid shows of the files, found once and kept.
//
// Each question is one job, so that the workers answer them side by side. A job leaves its answer in the
// inbox and, when the inbox was empty, posts one task that takes in everything there on the window's
// thread: a burst of answers costs one redraw, not one each.
#include "launcher/KeptFiles.h"

namespace launcher {

KeptFiles::KeptFiles(platform::FileSystem& files, platform::Workers& workers)
    : files_(files), workers_(workers), inbox_(std::make_shared<Inbox>()) {
    inbox_->owner = this;
}

KeptFiles::~KeptFiles() {
    const std::lock_guard lock(inbox_->mutex);
    inbox_->owner = nullptr;
}

std::optional<platform::FileLookup> KeptFiles::Lookup(TextView path) const {
    const auto at = lookups_.find(Text(path));
    if (at == lookups_.end()) {
        return std::nullopt;
    }
    return at->second;
}

std::optional<platform::Picture> KeptFiles::PictureOf(TextView path) const {
    const auto at = pictures_.find(Text(path));
    if (at == pictures_.end()) {
        return std::nullopt;
    }
    return at->second;
}

platform::Picture KeptFiles::IconOf(TextView path) const {
    const auto at = icons_.find(Text(path));
    return at == icons_.end() ? nullptr : at->second;
}

void KeptFiles::Ask(const std::vector<Text>& lookups, const std::vector<Text>& pictures) {
    // Answers that come while asking (workers that answer at once) are taken in once, at the end.
    asking_ = true;
    for (const Text& path : lookups) {
        Submit(path, false);
    }
    for (const Text& path : pictures) {
        if (!pictures_.contains(path)) {
            Submit(path, true);
        }
    }
    asking_ = false;
    TakeAnswers();
}

void KeptFiles::Submit(const Text& path, bool picture) {
    if (!outstanding_.emplace(picture, path).second) {
        return;
    }
    std::weak_ptr<Inbox> inbox = inbox_;
    platform::FileSystem& files = files_;
    platform::Workers& workers = workers_;
    workers_.Submit(path, [inbox, &files, &workers, path, picture] {
        Answer answer{path, picture, {}, nullptr};
        if (picture) {
            if (std::optional<platform::Bitmap> bitmap = platform::LoadBmpFile(files, path)) {
                answer.decoded = std::make_shared<const platform::Bitmap>(std::move(*bitmap));
            }
        } else {
            answer.lookup = files.LookupFile(path);
        }
        const std::shared_ptr<Inbox> box = inbox.lock();
        if (!box) {
            return;
        }
        bool post = false;
        {
            const std::lock_guard lock(box->mutex);
            box->answers.push_back(std::move(answer));
            post = !box->posted;
            box->posted = true;
        }
        if (post) {
            workers.PostToWindow([inbox] {
                if (const std::shared_ptr<Inbox> box = inbox.lock()) {
                    KeptFiles* owner = nullptr;
                    {
                        const std::lock_guard lock(box->mutex);
                        owner = box->owner;
                    }
                    if (owner != nullptr) {
                        owner->TakeAnswers();
                    }
                }
            });
        }
    });
}

bool KeptFiles::Await(std::chrono::milliseconds limit) {
    const auto allCame = [this] {
        const std::lock_guard lock(inbox_->mutex);
        return inbox_->answers.size() >= outstanding_.size();
    };
    (void)workers_.WaitUntil(allCame, limit);
    TakeAnswers();
    return outstanding_.empty();
}

void KeptFiles::TakeAnswers() {
    if (asking_) {
        return;
    }
    std::vector<Answer> answers;
    {
        const std::lock_guard lock(inbox_->mutex);
        answers.swap(inbox_->answers);
        inbox_->posted = false;
    }
    bool changed = false;
    for (Answer& answer : answers) {
        outstanding_.erase({answer.picture, answer.path});
        if (answer.picture) {
            changed = true; // only pictures not yet kept are asked for
            pictures_[answer.path] = std::move(answer.decoded);
            continue;
        }
        const auto kept = lookups_.find(answer.path);
        if (kept != lookups_.end() && kept->second.status == answer.lookup.status &&
            kept->second.name == answer.lookup.name) {
            continue;
        }
        changed = true;
        icons_.erase(answer.path); // drawn while the executable was otherwise
        lookups_[answer.path] = std::move(answer.lookup);
    }
    if (changed && onChange) {
        onChange();
    }
}

} // namespace launcher
