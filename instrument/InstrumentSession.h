#pragma once
#include "instrument/BenchState.h"
#include "instrument/RemoteSweep.h"
#include "scpi/ScpiCommandTable.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDDSDevice;
class CDeviceControl;
class CDeviceRegistry;
class CWaveFolder;

/// What one connection addresses and the command table bound to it: every row reaches its
/// device through CDeviceControl, the device being the header's SOURce suffix when given and
/// the session's selected device otherwise.
class CInstrumentSession {
public:
    /// The remote sweeps of all sessions, by device.
    using Sweeps = std::map<CDeviceControl*, CRemoteSweep>;

    /// folder: the one folder the file commands reach; benches: what benchtop-style clients
    /// set on each device, shared by every connection.
    CInstrumentSession(CDeviceRegistry& devices, const std::string& version, Sweeps& sweeps,
                       const CWaveFolder& folder, CBenchStates& benches);
    CInstrumentSession(const CInstrumentSession&) = delete;
    CInstrumentSession& operator=(const CInstrumentSession&) = delete;

    const CScpiCommandTable& Table() const { return m_table; }
    /// *IDN?: maker, model, the selected unit's index (a demo device's name), version.
    std::string Identify() const;
    /// *RST: the selected device as newly opened, volts peak-to-peak into the default load;
    /// its remote sweep ends. Named waves stay.
    void Reset();
    /// *OPC?: every command queued for the selected device, and for each device this session
    /// addressed since the last completion, has reached the generator.
    bool OperationsComplete();

    /// Longest a MEASure query waits for a fresh reading.
    static constexpr std::chrono::milliseconds kMeasureWait{2000};

    /// A numeric setting's MINimum, MAXimum and DEFault in the units the client uses.
    struct CLimits {
        double dMin, dMax, dDef;
    };
    using LimitsOf = std::function<CLimits(CDeviceControl&)>;

private:
    void AddAddressing();
    void AddOutput();
    void AddLevels();
    void AddBenchtop();
    void AddNamedWaves();
    void AddWaveParameters();
    void AddSweep();
    void AddData();
    void AddMeasurement();
    void AddFiles();

    /// The device a command addresses, or null after raising the error.
    CDeviceControl* Addressed(CScpiContext& context) const;
    CDeviceControl* Selected() const;
    /// Adds pattern and its query pattern + "?", both on the addressed device.
    void AddPair(const std::string& pattern, const CScpiParamDef& param,
                 std::function<void(CScpiContext&, CDeviceControl&)> set,
                 std::function<void(CScpiContext&, CDeviceControl&)> get);
    /// A numeric setting: the value (MINimum, MAXimum, DEFault resolved by limits) goes to set;
    /// the query answers get, or with MINimum, MAXimum or DEFault the limit.
    void AddNumber(const std::string& pattern, const std::string& unit, LimitsOf limits,
                   std::function<void(CScpiContext&, CDeviceControl&, double)> set,
                   std::function<void(CScpiContext&, CDeviceControl&)> get);
    /// Forgets the device's sweep without returning its frequency (a reset sets it anew).
    void DropSweep(CDeviceControl& control);
    int IndexOf(const CDeviceControl& control) const;
    /// The open device whose control has serial, or null once it has been closed.
    CDeviceControl* BySerial(std::uint64_t serial) const;
    /// MEASure: answers, through a deferred poll, a reading the worker took after every
    /// command queued so far had reached the unit, or NaN with -230 after kMeasureWait.
    void MeasureFresh(CScpiContext& c, CDeviceControl& d, bool counter);
    static void WriteReading(CScpiContext& c, const CDDSDevice& device, bool counter);

    // Benchtop vocabulary (InstrumentBenchtop.cpp, InstrumentNamedWaves.cpp).
    CBenchState& Bench(const CDeviceControl& control);
    /// Selects a wave by its word (index into kWaveWords), with what follows it.
    void SelectFunction(CScpiContext& c, CDeviceControl& d, int word);
    /// The wave word FUNCtion? and APPLy? answer.
    std::string FunctionWord(CDeviceControl& d);
    /// Sets the amplitude from a value in the device's volt unit; false after raising the error.
    bool SetAmplitudeIn(CScpiContext& c, CDeviceControl& d, double value);
    /// Writes the amplitude in the device's volt unit (NaN and -221 where it has no meaning).
    void WriteAmplitude(CScpiContext& c, CDeviceControl& d);
    /// Makes the chosen named wave (or DC) the Arb table at the current amplitude and offset.
    void PlayNamed(CScpiContext& c, CDeviceControl& d, const std::string& name);
    /// PlayNamed once the unit has taken what was queued (cuts the wave itself if it must).
    void PlayNamedNow(CScpiContext& c, CDeviceControl& d, const std::string& name);
    /// A named wave cut to a plan's points on a thread of its own.
    struct CShape {
        std::vector<double> vValues;
        std::string strError;
        bool bDone = false; ///< False with the converter's message in strError.
    };
    struct CShaping {
        int nPoints = 0;
        std::future<CShape> result;
    };
    std::shared_ptr<CShaping> StartShaping(CDeviceControl& d, const std::string& name);
    /// The unit has taken every frequency command queued so far (or has none to take them).
    static bool Settled(const CDeviceControl& d);
    /// Whether the kept shape is the named wave cut to the present plan.
    bool ShapeFits(CDeviceControl& d, const std::string& name);
    /// The named wave's values (DC: one zero); empty when there is no such wave.
    std::vector<double> WaveValues(CDeviceControl& d, const std::string& name);
    /// After amplitude or offset changed: the named wave (or DC) that still plays follows.
    void FollowLevels(CScpiContext& c, CDeviceControl& d);
    /// Whether the device plays table (Arb, its table holding exactly those points).
    static bool PlaysTable(const CDeviceControl& d, const std::vector<float>& table);
    /// Stores values under name for the device; raises the store's error.
    void StoreNamed(CScpiContext& c, CDeviceControl& d, const std::string& name,
                    std::vector<float> values);
    /// Codes of a DAC upload (a list or a block of 16-bit integers) as -1..+1 shares of full.
    bool ReadCodes(CScpiContext& c, const CScpiParameter& param, double full,
                   std::vector<float>& values) const;

    CDeviceRegistry& m_devices;
    std::string m_strVersion;
    Sweeps& m_sweeps;
    const CWaveFolder& m_folder;
    CBenchStates& m_benches;
    int m_nSelected = 0;
    /// FORMat:BORDer: 16-bit integers of a benchtop DAC block least significant byte first.
    bool m_bSwapBytes = false;
    /// Words a client may send in passing, kept and answered.
    std::string m_strDisplayText;
    bool m_bDisplayOn = true;
    bool m_bBeeper = true;
    /// Devices addressed since operations were last complete.
    mutable std::vector<const CDeviceControl*> m_vAddressed;
    CScpiCommandTable m_table;
};
