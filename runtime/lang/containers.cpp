// The red-black map: search, insertion and the insertion fix-up. Every link
// is stored through gc_assign (see containers.h).
#include "runtime/lang/containers.h"

namespace {

// The child on one side: the left one when `left`, else the right one.
c_Node*& child(c_Node* node, bool left) {
    return left ? node->left : node->right;
}

bool is_red(const c_Node* node) {
    return node && node->color == c_Map::kRed;
}

}  // namespace

c_Node* c_Node::m_new(int nodeKey, c_DisplayMode* nodeValue, int nodeColor, c_Node* nodeParent) {
    key = nodeKey;
    gc_assign(value, nodeValue);
    color = nodeColor;
    gc_assign(parent, nodeParent);
    return this;
}

void c_Node::mark() {
    Object::mark();
    gc_enqueue(right);
    gc_enqueue(left);
    gc_enqueue(value);
    gc_enqueue(parent);
}

void c_Map::mark() {
    Object::mark();
    gc_enqueue(root);
}

c_Node* c_Map::p_FindNode(int key) {
    c_Node* node = root;
    while (node) {
        int cmp = p_Compare(key, node->key);
        if (cmp > 0) {
            node = node->right;
        } else if (cmp < 0) {
            node = node->left;
        } else {
            return node;
        }
    }
    return nullptr;
}

bool c_Map::p_Set(int key, c_DisplayMode* value) {
    c_Node* node = root;
    c_Node* parent = nullptr;
    int cmp = 0;
    while (node) {
        parent = node;
        cmp = p_Compare(key, node->key);
        if (cmp > 0) {
            node = node->right;
        } else if (cmp < 0) {
            node = node->left;
        } else {
            gc_assign(node->value, value);
            return false;
        }
    }
    node = gc_new<c_Node>()->m_new(key, value, kRed, parent);
    if (!parent) {
        gc_assign(root, node);
    } else {
        gc_assign(child(parent, cmp <= 0), node);
    }
    p_InsertFixup(node);
    return true;
}

void c_Map::p_InsertFixup(c_Node* node) {
    while (is_red(node->parent) && node->parent->parent) {
        c_Node* parent = node->parent;
        c_Node* grand = parent->parent;
        bool parentIsLeft = parent == grand->left;
        c_Node* uncle = child(grand, !parentIsLeft);
        if (is_red(uncle)) {
            parent->color = kBlack;
            uncle->color = kBlack;
            grand->color = kRed;
            node = grand;
            continue;
        }
        if (node == child(parent, !parentIsLeft)) {
            // Inner child: rotate it to the outer position first.
            node = parent;
            Rotate(node, parentIsLeft);
            parent = node->parent;
        }
        parent->color = kBlack;
        grand->color = kRed;
        Rotate(grand, !parentIsLeft);
    }
    root->color = kBlack;
}

void c_Map::p_RotateLeft(c_Node* node) {
    Rotate(node, true);
}

void c_Map::p_RotateRight(c_Node* node) {
    Rotate(node, false);
}

// A left rotation lifts the right child into node's place and hangs node as
// its left child; a right rotation is the mirror image.
void c_Map::Rotate(c_Node* node, bool toLeft) {
    c_Node* lifted = child(node, !toLeft);
    c_Node* inner = child(lifted, toLeft);
    gc_assign(child(node, !toLeft), inner);
    if (inner) gc_assign(inner->parent, node);
    gc_assign(lifted->parent, node->parent);
    if (!node->parent) {
        gc_assign(root, lifted);
    } else {
        gc_assign(child(node->parent, node == node->parent->left), lifted);
    }
    gc_assign(child(lifted, toLeft), node);
    gc_assign(node->parent, lifted);
}

int c_IntMap::p_Compare(int a, int b) {
    int difference;
    if (__builtin_sub_overflow(a, b, &difference)) return a < b ? -1 : 1;
    return difference;
}
