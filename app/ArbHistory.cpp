#include "app/ArbHistory.h"

#include "app/ArbPointsCommand.h"
#include "engine/DDSDevice.h"

#include <algorithm>

namespace {

/// Steps kept per device; a step holds at most two tables of 4096 points.
constexpr int kUndoLimit = 200;

} // namespace

CArbHistory::CArbHistory(CDDSDevice& device) : m_device(device) {
    m_stack.setUndoLimit(kUndoLimit);
}

CArbHistory::Points CArbHistory::Snapshot() const {
    Points points;
    points.nSize = std::clamp(static_cast<int>(m_device.m_nPointsPerPeriod), 1, kMaxPoints);
    points.values.reserve(points.nSize);
    for (int i = 0; i < points.nSize; ++i)
        points.values.push_back(m_device.m_fArb[i]);
    return points;
}

void CArbHistory::Record(const Points& before, const QString& text) {
    Points after = Snapshot();
    if (after == before)
        return;
    m_stack.push(new CArbPointsCommand(*this, before, std::move(after), text));
}

void CArbHistory::SetArbPoints(const std::vector<float>& points, const QString& text) {
    if (points.empty())
        return;
    const Points before = Snapshot();
    Points after;
    after.values.assign(points.begin(),
                        points.begin() + std::min<std::size_t>(points.size(), kMaxPoints));
    after.nSize = static_cast<int>(after.values.size());
    Apply(after);
    Record(before, text);
}

void CArbHistory::Apply(const Points& points) {
    for (int i = 0; i < points.nSize; ++i)
        m_device.m_fArb[i] = points.values[i];
    m_device.m_nPointsPerPeriod = points.nSize;
    m_device.RequestDownload();
}
