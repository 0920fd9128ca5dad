#include "view/DisplayInputs.h"

#include <iterator>

CDisplayInputs::CDisplayInputs(const CDDSDevice* device, QSize size, int cursorIndex)
    : m_bValid(true), m_size(size), m_nCursorIndex(cursorIndex) {
    if (device == nullptr)
        return;
    m_bDevice = true;
    const CDDSDevice& d = *device;
    const int type = d.m_nWaveType;
    m_bNoise = type == WAVE_GAUSS_NOISE || type == WAVE_WHITE_NOISE;
    m_dFields = {double(type),
                 d.m_dFrequency,
                 d.m_fAmplitude,
                 d.m_dOffset,
                 d.m_fPhase,
                 double(d.m_bAtten20dB),
                 double(d.m_bExpFall),
                 d.m_fExpTau,
                 double(d.m_bFM),
                 d.m_fAmDepth,
                 double(d.m_nModCarrier),
                 double(d.m_nFmDeviation),
                 double(d.m_bSingleWave),
                 double(d.m_nPeriodNumber),
                 double(d.m_nPeriods),
                 double(d.m_nPoints),
                 double(d.m_nPointsPerPeriod),
                 d.m_fRampDuty,
                 d.m_fSquareDuty,
                 d.m_fTrapRise,
                 d.m_fTrapHigh,
                 d.m_fTrapFall,
                 d.m_fViewPos,
                 double(d.m_nViewFirst),
                 double(d.m_nViewLast),
                 double(d.m_nZoom),
                 double(d.m_wDigitalIn),
                 double(d.m_wDigitalOut)};
    if (type == WAVE_ARB)
        m_fArb.assign(std::begin(d.m_fArb), std::end(d.m_fArb));
}

bool CDisplayInputs::Same(const CDisplayInputs& drawn) const {
    return m_bValid && drawn.m_bValid && !m_bNoise && m_bDevice == drawn.m_bDevice &&
           m_size == drawn.m_size && m_nCursorIndex == drawn.m_nCursorIndex &&
           m_dFields == drawn.m_dFields && m_fArb == drawn.m_fArb && m_crBack == drawn.m_crBack &&
           m_crCurve == drawn.m_crCurve && m_crGrid == drawn.m_crGrid &&
           m_crCursor == drawn.m_crCursor && m_strFileName == drawn.m_strFileName &&
           m_strAtPoint == drawn.m_strAtPoint && m_font == drawn.m_font;
}
