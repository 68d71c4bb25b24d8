#include "settings/unsaved_tracker.h"

#include "settings/settings_model.h"

namespace settings {

void UnsavedTracker::showGame(const QString& path, const QString& name) {
    path_ = path;
    name_ = name;
}

void UnsavedTracker::markStored() {
    stored_ = model_.collectSettings();
}

bool UnsavedTracker::unsaved() const {
    return !path_.isEmpty() && model_.collectSettings() != stored_;
}

} // namespace settings
