#include "config/GameProcess.h"

namespace fenwake::game {

GameWatch::GameWatch(std::chrono::steady_clock::duration interval) : interval_(interval) {}

bool GameWatch::Running()
{
    const auto now = std::chrono::steady_clock::now();
    if (everChecked_ && now - checked_ < interval_) return running_;
    running_ = !FindRunningGames().empty();
    checked_ = now;
    everChecked_ = true;
    return running_;
}

} // namespace fenwake::game
