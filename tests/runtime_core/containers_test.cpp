// Stacks and the red-black map, by rule.
#include <climits>
#include <functional>
#include <map>
#include <random>

#include "runtime/lang/containers.h"
#include "tests/runtime_core/gc_test_support.h"

namespace {

using StackTest = CollectorTest;
using MapTest = CollectorTest;

c_DisplayMode* mode(int w, int h) {
    return gc_new<c_DisplayMode>()->m_new(w, h);
}

Array<String> strings(std::initializer_list<const char*> texts) {
    Array<String> out(static_cast<int>(texts.size()));
    int i = 0;
    for (const char* t : texts) out[i++] = String(t);
    return out;
}

// ---- stacks ----

TEST_F(StackTest, GrowsFromZeroToTenToThirty) {
    c_Stack2* stack = gc_new<c_Stack2>()->m_new();
    EXPECT_EQ(stack->data.Length(), 0);
    EXPECT_EQ(stack->p_Length2(), 0);
    stack->p_Push4(String("a"));
    EXPECT_EQ(stack->data.Length(), 10);
    for (int i = 1; i < 10; ++i) stack->p_Push4(String(i));
    EXPECT_EQ(stack->data.Length(), 10);
    stack->p_Push4(String("k"));
    EXPECT_EQ(stack->data.Length(), 30);
    EXPECT_EQ(stack->p_Length2(), 11);
    EXPECT_EQ(stack->p_Get(0), String("a"));
    EXPECT_EQ(stack->p_Get(9), String("9"));
    EXPECT_EQ(stack->p_Get(10), String("k"));
    // Slots past the end hold the empty string.
    EXPECT_TRUE(stack->data[11].SameRep(String()));
}

TEST_F(StackTest, ShrinkingWritesTheEmptyValueAndKeepsStorage) {
    c_Stack2* stack = gc_new<c_Stack2>()->m_new2(strings({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(stack->p_Length2(), 5);
    EXPECT_EQ(stack->data.Length(), 5);
    stack->p_Length(3);
    EXPECT_EQ(stack->p_Length2(), 3);
    EXPECT_EQ(stack->data.Length(), 5);
    EXPECT_TRUE(stack->data[3].SameRep(c_Stack2::m_NIL));
    EXPECT_TRUE(stack->data[4].SameRep(c_Stack2::m_NIL));
    EXPECT_EQ(stack->p_Get(2), String("c"));

    // Growing within the capacity exposes empty slots; past it reallocates
    // to max(length * 2 + 10, newLength).
    stack->p_Length(5);
    EXPECT_TRUE(stack->p_Get(4).IsEmpty());
    stack->p_Length(40);
    EXPECT_EQ(stack->data.Length(), 40);
    stack->p_Length(41);
    EXPECT_EQ(stack->data.Length(), 40 * 2 + 10);

    stack->p_Clear();
    EXPECT_EQ(stack->p_Length2(), 0);
    EXPECT_EQ(stack->data.Length(), 90);
    EXPECT_TRUE(stack->data[0].SameRep(String()));

    stack->p_Length(-4);  // a negative length counts as 0
    EXPECT_EQ(stack->p_Length2(), 0);
    stack->p_Push4(String("z"));
    EXPECT_EQ(stack->p_Get(0), String("z"));
}

TEST_F(StackTest, CopiesArraysInAndOut) {
    Array<String> source = strings({"x", "y"});
    c_Stack2* stack = gc_new<c_Stack2>()->m_new2(source);
    EXPECT_NE(stack->data.rep, source.rep);
    stack->p_Push4(String("z"));
    EXPECT_EQ(source.Length(), 2);

    Array<String> out = stack->p_ToArray();
    ASSERT_EQ(out.Length(), 3);
    EXPECT_EQ(out[2], String("z"));
    EXPECT_NE(out.rep, stack->data.rep);
    EXPECT_EQ(gc_new<c_Stack2>()->m_new()->p_ToArray().rep, Array<String>().rep);
    EXPECT_EQ(gc_new<c_Stack2>()->m_new2(Array<String>())->data.rep, Array<String>().rep);
}

TEST_F(StackTest, PushesRangesInsideTheArrayOnly) {
    Array<String> source = strings({"a", "b", "c", "d"});
    c_Stack2* stack = gc_new<c_Stack2>()->m_new();
    stack->p_Push5(source, 1, 2);
    stack->p_Push5(source, 0, 0);
    stack->p_Push5(source, 0, -3);
    stack->p_Push6(source, 3);
    stack->p_Push5(source, -1, 2);       // index -1 skipped
    stack->p_Push5(source, 3, INT_MAX);  // no overflow, stops at the end
    stack->p_Push6(source, 9);
    Array<String> out = stack->p_ToArray();
    ASSERT_EQ(out.Length(), 5);
    const char* expected[] = {"b", "c", "d", "a", "d"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], String(expected[i])) << i;

    // Pushing a stack's own storage onto itself, across a reallocation.
    c_Stack2* self = gc_new<c_Stack2>()->m_new2(strings({"p", "q", "r"}));
    self->p_Push6(self->data, 0);
    ASSERT_EQ(self->p_Length2(), 6);
    EXPECT_EQ(self->p_Get(5), String("r"));
}

TEST_F(StackTest, JoinsLikeStringJoin) {
    c_StringStack* stack = gc_new<c_StringStack>()->m_new2();
    EXPECT_TRUE(stack->p_Join(String(",")).IsEmpty());
    String only("only");
    stack->p_Push4(only);
    EXPECT_TRUE(stack->p_Join(String(",")).SameRep(only));
    stack->p_Push4(String("two"));
    EXPECT_EQ(stack->p_Join(String(", ")), String("only, two"));
    c_StringStack* copy = gc_new<c_StringStack>()->m_new(strings({"a", "", "b"}));
    EXPECT_EQ(copy->p_Join(String("/")), String("a//b"));
}

TEST_F(StackTest, KeepsObjectElementsAliveAndDropsGivenUpOnes) {
    c_Stack* stack = gc_new<c_Stack>()->m_new();
    gc_assign(gc_test_root, stack);
    for (int i = 0; i < 12; ++i) stack->p_Push(mode(i, i));
    c_DisplayMode* kept = stack->p_Get(1);
    c_DisplayMode* dropped = stack->p_Get(11);
    stack->p_Length(11);
    EXPECT_EQ(stack->data[11], nullptr);
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_on_list(gc_free_list, kept));
    EXPECT_TRUE(gc_on_list(gc_free_list, dropped));
    EXPECT_EQ(kept->width, 1);

    Array<c_DisplayMode*> modes = stack->p_ToArray();
    c_Stack* copy = gc_new<c_Stack>()->m_new2(modes);
    copy->p_Push2(modes, 10, 5);
    copy->p_Push3(modes, 9);
    EXPECT_EQ(copy->p_Length2(), 11 + 1 + 2);
    EXPECT_EQ(copy->p_Get(13), modes[10]);
}

TEST_F(StackTest, ElementPushedDuringACycleSurvivesIt) {
    c_Stack* stack = gc_new<c_Stack>()->m_new();
    stack->p_Push(mode(1, 1));
    gc_assign(gc_test_root, stack);
    gc_collect_all();         // the stack and its storage are now scanned each cycle
    gc_mark_queued(INT_MAX);  // this cycle's scan of the stack is done
    c_DisplayMode* late = mode(2, 2);
    stack->p_Push(late);  // fits the storage: only the barrier can save it
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(gc_on_list(gc_free_list, late));
    EXPECT_EQ(stack->p_Get(1)->width, 2);
}

// ---- map ----

// Checks the red-black rules and the parent links; returns the black height.
int check_subtree(c_Map* map, c_Node* node, c_Node* parent, const int* low, const int* high) {
    if (!node) return 1;
    EXPECT_EQ(node->parent, parent);
    EXPECT_TRUE(node->color == c_Map::kRed || node->color == c_Map::kBlack);
    bool redUnderRed = node->color == c_Map::kRed && parent && parent->color == c_Map::kRed;
    EXPECT_FALSE(redUnderRed) << "red child of a red node, key " << node->key;
    EXPECT_TRUE(!low || map->p_Compare(node->key, *low) > 0) << node->key;
    EXPECT_TRUE(!high || map->p_Compare(node->key, *high) < 0) << node->key;
    int leftHeight = check_subtree(map, node->left, node, low, &node->key);
    int rightHeight = check_subtree(map, node->right, node, &node->key, high);
    EXPECT_EQ(leftHeight, rightHeight) << "black heights differ under key " << node->key;
    return leftHeight + (node->color == c_Map::kBlack ? 1 : 0);
}

void in_order(c_Node* node, std::vector<int>& keys) {
    if (!node) return;
    in_order(node->left, keys);
    keys.push_back(node->key);
    in_order(node->right, keys);
}

TEST_F(MapTest, AgreesWithStdMapOnRandomKeys) {
    c_IntMap* map = gc_new<c_IntMap>()->m_new();
    gc_assign(gc_test_root, map);
    std::map<int, c_DisplayMode*> reference;
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> anyInt(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> smallInt(-300, 300);
    for (int i = 0; i < 1500; ++i) {
        int key = (i % 3 == 0) ? anyInt(random) : smallInt(random);
        c_DisplayMode* value = mode(i, 0);
        bool added = map->p_Set(key, value);
        EXPECT_EQ(added, reference.count(key) == 0) << key;
        reference[key] = value;

        ASSERT_NE(map->root, nullptr);
        EXPECT_EQ(map->root->color, c_Map::kBlack);
        check_subtree(map, map->root, nullptr, nullptr, nullptr);
        std::vector<int> keys;
        in_order(map->root, keys);
        ASSERT_EQ(keys.size(), reference.size());
        auto it = reference.begin();
        for (size_t k = 0; k < keys.size(); ++k, ++it) ASSERT_EQ(keys[k], it->first);
        if (HasFailure()) return;
        if (i % 100 == 0) gc_collect();  // incremental steps while the tree changes
    }
    gc_collect_all();
    gc_collect_all();
    for (const auto& [key, value] : reference) {
        c_Node* node = map->p_FindNode(key);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->value, value);
        EXPECT_FALSE(gc_on_list(gc_free_list, node));
        EXPECT_FALSE(gc_on_list(gc_free_list, value));
    }
    EXPECT_FALSE(map->p_Contains(301));
}

TEST_F(MapTest, OneTwoThreeRotatesTwoToTheRoot) {
    c_IntMap* map = gc_new<c_IntMap>()->m_new();
    EXPECT_TRUE(map->p_Insert(1, nullptr));
    EXPECT_TRUE(map->p_Insert(2, nullptr));
    EXPECT_TRUE(map->p_Insert(3, nullptr));
    ASSERT_EQ(map->root->key, 2);
    EXPECT_EQ(map->root->color, c_Map::kBlack);
    EXPECT_EQ(map->root->parent, nullptr);
    EXPECT_EQ(map->root->left->key, 1);
    EXPECT_EQ(map->root->right->key, 3);
    EXPECT_EQ(map->root->left->color, c_Map::kRed);
    EXPECT_EQ(map->root->right->color, c_Map::kRed);
}

TEST_F(MapTest, SetOnAnExistingKeyReplacesTheValueOnly) {
    c_IntMap* map = gc_new<c_IntMap>()->m_new();
    for (int key : {5, 3, 8, 1}) map->p_Set(key, mode(key, 0));
    c_Node* root = map->root;
    c_Node* node = map->p_FindNode(3);
    c_Node *left = node->left, *right = node->right, *parent = node->parent;
    int color = node->color;
    c_DisplayMode* replacement = mode(33, 0);
    EXPECT_FALSE(map->p_Set(3, replacement));
    EXPECT_EQ(map->p_FindNode(3), node);
    EXPECT_EQ(node->value, replacement);
    EXPECT_EQ(map->root, root);
    EXPECT_EQ(node->left, left);
    EXPECT_EQ(node->right, right);
    EXPECT_EQ(node->parent, parent);
    EXPECT_EQ(node->color, color);
}

TEST_F(MapTest, IntCompareNeverOverflows) {
    c_IntMap* map = gc_new<c_IntMap>()->m_new();
    EXPECT_EQ(map->p_Compare(7, 3), 4);
    EXPECT_EQ(map->p_Compare(3, 7), -4);
    EXPECT_EQ(map->p_Compare(-5, -5), 0);
    EXPECT_LT(map->p_Compare(INT_MIN, INT_MAX), 0);
    EXPECT_GT(map->p_Compare(INT_MAX, INT_MIN), 0);
    EXPECT_GT(map->p_Compare(INT_MAX, -1), 0);
    EXPECT_LT(map->p_Compare(INT_MIN, 1), 0);
    // Display-mode keys are width << 16 | height, which passes INT_MAX for
    // widths of 32768 and more.
    map->p_Set(INT_MIN, nullptr);
    map->p_Set(INT_MAX, nullptr);
    map->p_Set(0, nullptr);
    std::vector<int> keys;
    in_order(map->root, keys);
    EXPECT_EQ(keys, (std::vector<int>{INT_MIN, 0, INT_MAX}));
}

}  // namespace
