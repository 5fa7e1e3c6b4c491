#include "framework/Classes.h"

#include <algorithm>

bool TObject::InheritsFrom(const std::string& className) const {
    for (const TClassInfo* c = ClassInfo(); c; c = c->parent)
        if (className == c->name) return true;
    return false;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) {
        TComponent* last = components_.back();
        components_.pop_back();
        last->owner_ = nullptr;
        delete last;
    }
    destroying_ = false;
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (TComponent* c : components_)
        if (c->Name() == name) return c;
    return nullptr;
}

void TComponent::RemoveComponent(TComponent* child) {
    if (destroying_) return;
    components_.erase(std::remove(components_.begin(), components_.end(), child), components_.end());
}

void TComponent::NotifyLoaded() {
    // A copy: a component may create others while it finishes loading.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned) c->NotifyLoaded();
    Loaded();
}
