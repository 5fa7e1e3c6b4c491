// The base of every toolkit object: run-time class names with inheritance
// queries, and components that own other components in creation order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TObject;

// The class record behind ClassName and InheritsFrom: one static per class.
struct TClassInfo {
    const char* name;
    const TClassInfo* parent;
};

// Gives a class its class record; every toolkit class and every form uses it.
#define KV90_CLASS(Self, Parent)                                           \
public:                                                                    \
    static const TClassInfo* StaticClass() {                               \
        static const TClassInfo info{#Self, Parent::StaticClass()};        \
        return &info;                                                      \
    }                                                                      \
    const TClassInfo* ClassInfo() const override { return StaticClass(); } \
                                                                           \
private:

class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo* StaticClass() {
        static const TClassInfo info{"TObject", nullptr};
        return &info;
    }
    virtual const TClassInfo* ClassInfo() const { return StaticClass(); }

    std::string ClassName() const { return ClassInfo()->name; }
    // True when this object's class is, or derives from, the named class.
    bool InheritsFrom(const std::string& className) const;
    template <typename T>
    bool Is() const {
        return dynamic_cast<const T*>(this) != nullptr;
    }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
    KV90_CLASS(TPersistent, TObject)
};

// Owns the components created with it as owner; they are destroyed with it,
// last created first. The list keeps creation order for walks over a form.
class TComponent : public TPersistent {
    KV90_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_.at(index); }
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(const std::string& name) const;

    // Runs Loaded for the owned components, then for this one: the step after a
    // form and everything on it are built, before its creation handler runs.
    void NotifyLoaded();

protected:
    // What a component does once its owner is complete (its properties are all set).
    virtual void Loaded() {}

    // Destroys the owned components now, last created first; containers call it
    // before their own window goes, so that children never outlive their parent.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* child) { components_.push_back(child); }
    void RemoveComponent(TComponent* child);

    TComponent* owner_;
    std::string name_;
    int tag_ = 0;
    std::vector<TComponent*> components_;
    bool destroying_ = false;
};
