// Undo and redo of whole states: each change keeps the state before it.
// The oldest states go once more than `levels` are kept. Platform-free.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

namespace srt {

template <class State>
class History {
public:
    explicit History(std::size_t levels = 32) : levels_(levels) {}

    // Before a change: `before` is the state it leaves; redo is forgotten.
    void Changed(State before) {
        undo_.push_back(std::move(before));
        if (undo_.size() > levels_) undo_.pop_front();
        redo_.clear();
    }
    // Keeps at most `levels` states each way, the oldest going first.
    void SetLevels(std::size_t levels) {
        levels_ = levels;
        while (undo_.size() > levels_) undo_.pop_front();
        while (redo_.size() > levels_) redo_.pop_front();
    }
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The state to go back to; `current` becomes redoable.
    std::optional<State> Undo(State current) { return Step(undo_, redo_, std::move(current)); }
    std::optional<State> Redo(State current) { return Step(redo_, undo_, std::move(current)); }
    void Clear() {
        undo_.clear();
        redo_.clear();
    }

private:
    static std::optional<State> Step(std::deque<State>& from, std::deque<State>& to, State current) {
        if (from.empty()) return std::nullopt;
        State target = std::move(from.back());
        from.pop_back();
        to.push_back(std::move(current));
        return target;
    }
    std::size_t levels_;
    std::deque<State> undo_, redo_;
};

// How many states of `size` bytes fit `budget`: at least one, at most `most`.
inline std::size_t LevelsWithin(std::size_t budget, std::size_t size, std::size_t most) {
    const std::size_t fit = size ? budget / size : most;
    return fit < 1 ? 1 : fit > most ? most : fit;
}

}  // namespace srt
