#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ClassInfo, NamesTheClassAndItsAncestors) {
    TForm form(nullptr);
    auto panel = new TPanel(&form);
    auto label = new TLabel(&form);
    auto button = new TButton(&form);
    auto image = new TImage(&form);
    EXPECT_EQ(panel->ClassName(), "TPanel");
    EXPECT_TRUE(panel->InheritsFrom("TCustomPanel"));
    EXPECT_TRUE(panel->InheritsFrom("TCustomControl"));
    EXPECT_TRUE(panel->InheritsFrom("TWinControl"));
    EXPECT_FALSE(panel->InheritsFrom("TButton"));
    EXPECT_TRUE(label->InheritsFrom("TCustomLabel"));
    EXPECT_TRUE(button->InheritsFrom("TButton"));
    EXPECT_TRUE(button->InheritsFrom("TButtonControl"));
    EXPECT_TRUE(image->InheritsFrom("TGraphicControl"));
    EXPECT_FALSE(image->InheritsFrom("TWinControl"));
    EXPECT_TRUE(form.InheritsFrom("TCustomForm"));
    EXPECT_TRUE(form.InheritsFrom("TComponent"));
    EXPECT_TRUE(form.InheritsFrom("TObject"));
}

namespace {

class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<int>& log, int id) : TComponent(owner), log_(log), id_(id) {}
    ~Probe() override { log_.push_back(id_); }

private:
    std::vector<int>& log_;
    int id_;
};

}  // namespace

TEST(Component, KeepsCreationOrderAndFreesLastCreatedFirst) {
    std::vector<int> destroyed;
    {
        TComponent owner(nullptr);
        auto a = new Probe(&owner, destroyed, 1);
        a->SetName("a");
        auto b = new Probe(&owner, destroyed, 2);
        b->SetName("b");
        auto c = new Probe(&owner, destroyed, 3);
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.Component(0), a);
        EXPECT_EQ(owner.Component(2), c);
        EXPECT_EQ(owner.FindComponent("b"), b);
        delete b;  // leaves its owner's list at once
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Component(1), c);
        EXPECT_EQ(destroyed, std::vector<int>{2});
    }
    EXPECT_EQ(destroyed, (std::vector<int>{2, 3, 1}));
}
