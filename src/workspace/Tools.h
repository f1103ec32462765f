#pragma once
// The drawing tools: the mouse handlers of the workspace do the shared plumbing once and hand
// the rest to the tool object that serves the current drawing mode.
#include <QString>
#include <QStringList>
#include <Qt>
#include <map>
#include <memory>
#include <vector>

namespace pixoral {

class TPixoralF;

struct MouseInput {
    int x = 0;
    int y = 0;
    Qt::MouseButton button = Qt::LeftButton;
    Qt::KeyboardModifiers modifiers;
};

class Tool {
public:
    virtual ~Tool() = default;
    virtual void press(TPixoralF& w, const MouseInput& in) { (void)w; (void)in; }
    virtual void move(TPixoralF& w, const MouseInput& in) { (void)w; (void)in; }
    virtual void release(TPixoralF& w, const MouseInput& in) { (void)w; (void)in; }
};

class ToolTable {
public:
    // One tool may serve several mode names (its phases: "chord", "chord1", ...).
    void add(const QStringList& modes, std::shared_ptr<Tool> tool) {
        for (const QString& m : modes) tools_[m] = tool;
    }
    Tool* find(const QString& mode) const {
        const auto it = tools_.find(mode);
        return it == tools_.end() ? nullptr : it->second.get();
    }
    bool has(const QString& mode) const { return find(mode) != nullptr; }

private:
    std::map<QString, std::shared_ptr<Tool>> tools_;
};

}  // namespace pixoral
