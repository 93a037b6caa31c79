// The collector under random mutation: objects, arrays and fields created,
// linked, replaced and dropped at random across real incremental steps and
// full sweeps, with the write-barrier verifier on. After every step each
// object reachable from the roots must still be alive (its destructor has
// not run; under ASan a freed one would also be reported), and at the end
// exactly the unreachable objects have been destroyed.
//
// Every reference is stored together with the serial number of its target,
// so a reference to a freed object whose memory a newer object reuses is
// caught too, without ASan.
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"
#include "tests/runtime_core/gc_test_support.h"

namespace {

constexpr uint32_t kAlive = 0x5eed1e55u;
int created = 0;
int destroyedNodes = 0;

class Node : public Object {
  public:
    Node* a = nullptr;
    Node* b = nullptr;
    Array<Node*> kids;
    uint32_t magic = kAlive;
    int serial = 0;
    // The serial of each reference's target when it was stored (0 for null).
    int aSerial = 0, bSerial = 0;
    std::vector<int> kidSerials;
    ~Node() override {
        magic = 0;
        ++destroyedNodes;
    }
    void mark() override {
        Object::mark();
        gc_enqueue(a);
        gc_enqueue(b);
        gc_enqueue(kids);
    }
};

Array<Node*> stress_roots;
GC_ROOT(stress_roots);
std::vector<int> rootSerials;

class Random {
  public:
    explicit Random(uint32_t seed) : state(seed) {}
    int Below(int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
    }

  private:
    uint32_t state;
};

Node* NewNode() {
    Node* node = gc_new<Node>();
    node->serial = ++created;
    return node;
}

int SerialOf(const Node* node) {
    return node ? node->serial : 0;
}

// Stores `target` into a reference through the barrier, with its serial.
void Link(Node*& field, int& serialField, Node* target) {
    gc_assign(field, target);
    serialField = SerialOf(target);
}

// A node reached by a short random walk from a random root, or null.
Node* SomeNode(Random& rnd) {
    Node* node = stress_roots[rnd.Below(stress_roots.Length())];
    for (int steps = rnd.Below(4); node && steps > 0; --steps) {
        int way = rnd.Below(3);
        Node* next = way == 0 ? node->a : way == 1 ? node->b : nullptr;
        if (way == 2 && node->kids.Length() > 0) next = node->kids[rnd.Below(node->kids.Length())];
        if (!next) break;
        node = next;
    }
    return node;
}

// Every node reachable from the roots; fails the test on a reference whose
// target was destroyed (or replaced by a newer object in its memory).
std::unordered_set<const Node*> Reachable() {
    std::unordered_set<const Node*> seen;
    std::vector<std::pair<const Node*, int>> todo;
    for (int i = 0; i < stress_roots.Length(); ++i) todo.emplace_back(stress_roots[i], rootSerials[i]);
    while (!todo.empty()) {
        auto [node, serial] = todo.back();
        todo.pop_back();
        if (!node || seen.count(node)) continue;
        if (node->magic != kAlive || node->serial != serial) {
            ADD_FAILURE() << "a reachable object (serial " << serial << ") was destroyed";
            return seen;
        }
        seen.insert(node);
        todo.emplace_back(node->a, node->aSerial);
        todo.emplace_back(node->b, node->bSerial);
        for (int k = 0; k < node->kids.Length(); ++k) todo.emplace_back(node->kids[k], node->kidSerials[k]);
    }
    return seen;
}

void Mutate(Random& rnd) {
    Node* node = SomeNode(rnd);
    int root = rnd.Below(stress_roots.Length());
    bool first = rnd.Below(2) == 0;
    switch (rnd.Below(8)) {
        case 0:
            Link(stress_roots[root], rootSerials[root], NewNode());
            break;
        case 1:
            if (node) Link(first ? node->a : node->b, first ? node->aSerial : node->bSerial, NewNode());
            break;
        case 2:
            if (node) Link(first ? node->a : node->b, first ? node->aSerial : node->bSerial, SomeNode(rnd));
            break;
        case 3:
            if (node) {
                int n = rnd.Below(9);
                gc_assign(node->kids, node->kids.Resize(n));
                node->kidSerials.resize(static_cast<size_t>(n), 0);
            }
            break;
        case 4:
            if (node && node->kids.Length() > 0) {
                int k = rnd.Below(node->kids.Length());
                Link(node->kids[k], node->kidSerials[static_cast<size_t>(k)],
                     first ? NewNode() : SomeNode(rnd));
            }
            break;
        case 5:
            if (node) Link(first ? node->a : node->b, first ? node->aSerial : node->bSerial, nullptr);
            break;
        case 6:
            Link(stress_roots[root], rootSerials[root], nullptr);
            break;
        default:
            // Garbage of up to 256 KiB, so full sweeps come every few dozen steps.
            Array<int>(rnd.Below(65536));
            break;
    }
}

TEST(CollectorStressTest, RandomMutationKeepsExactlyTheReachableObjects) {
    bool verify = gc_verify_enabled;
    gc_verify_enabled = true;
    gc_start_clean();
    created = destroyedNodes = 0;
    int sweepsSeen = 0;
    for (uint32_t seed : {1u, 2u, 3u}) {
        Random rnd(seed);
        gc_assign(stress_roots, Array<Node*>(16));
        rootSerials.assign(16, 0);
        for (int step = 0; step < 20000; ++step) {
            Mutate(rnd);
            int markbit = gc_markbit;
            // The host runs one step per event; now and then a whole cycle.
            if (rnd.Below(200) == 0)
                gc_collect_all();
            else
                gc_collect();
            sweepsSeen += markbit != gc_markbit;
            if (step % 97 == 0) {
                Reachable();
                ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed << ", step " << step;
            }
        }
        std::unordered_set<const Node*> live = Reachable();
        ASSERT_FALSE(::testing::Test::HasFailure());
        // Two whole cycles free everything unreachable; nothing else goes.
        gc_collect_all();
        gc_collect_all();
        gc_destroy_garbage();
        EXPECT_EQ(created - destroyedNodes, static_cast<int>(live.size())) << "seed " << seed;
        EXPECT_EQ(Reachable().size(), live.size());
        gc_assign(stress_roots, Array<Node*>());
        rootSerials.clear();
    }
    EXPECT_GT(sweepsSeen, 30);  // the mutations really ran across sweeps
    gc_start_clean();
    EXPECT_EQ(created, destroyedNodes);
    gc_verify_enabled = verify;
}

}  // namespace
