#include "diag/CDataSaverFormat.h"

#include "classlib/core/FormatText.h"
#include "diag/CObdAdaptationTexts.h"
#include "diag/UnitBytes.h"

#include <algorithm>

namespace {

constexpr char kDashLine[] = "------------------------------";

constexpr double kLambdaLow = 0.8;
constexpr double kLambdaHigh = 1.2;

constexpr BYTE kFuelGas = 0xFF;
constexpr BYTE kFuelPetrol = 0;
constexpr BYTE kCutOffBit = 0x01;
constexpr BYTE kPetrolOpenBit = 0x02;
constexpr BYTE kGasOpenBit = 0x04;
constexpr BYTE kLambdaControlOn = 0xFF;

// Bytes of the OBD adaptation block.
constexpr int kObdStatusByte = 6;
constexpr int kObdBank2Byte = 7;
constexpr int kObdBank1Byte = 8;
constexpr int kObdCalibrationByte = 4;
constexpr int kObdAdaptiveByte = 5;

CString TimeText(const char* format, const CLocalTime& t) {
    return FormatText(format, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

CString Block(const char* layout, const char* label, const CLocalTime& t) {
    const CString stamp = TimeText((CString(label) + "%04d-%02d-%02d %02d:%02d:%02d.%03d").GetString(), t);
    return FormatText(layout, kDashLine, stamp.GetString(), kDashLine);
}

double Milli(int value) {
    return value * 0.001;
}

// The average over the non-zero entries in thousandths, 0 when all are zero.
double AverageNonZeroMilli(const std::array<int, CDataSaverSample::kInjectors>& times) {
    int sum = 0;
    int count = 0;
    for (const int time : times) {
        if (time != 0) {
            sum += time;
            ++count;
        }
    }
    return count == 0 ? 0.0 : Milli(sum) / count;
}

const char* FuelModeText(BYTE mode) {
    if (mode == kFuelGas) {
        return "GAS";
    }
    return mode == kFuelPetrol ? "BENZIN" : "Wechsel auf GAS";
}

const char* ValveText(BYTE flags, BYTE bit) {
    return (flags & bit) != 0 ? "100% Offen" : "Normal";
}

void AppendField(CString& row, const CString& field) {
    row += field;
    row += '\t';
}

void AppendTimes(CString& row, const std::array<int, CDataSaverSample::kInjectors>& times) {
    for (const int time : times) {
        row.AppendFormat("%.02f\t", Milli(time));
    }
}

}  // namespace

CString CDataSaverFormat::StampedFileName(const CString& name, const CLocalTime& start) {
    const int slash = name.ReverseFind('\\');
    const int dot = name.ReverseFind('.');
    const CString stamp = TimeText("(%04d-%02d-%02d_%02d.%02d.%02d.%03d)", start);
    if (dot < 0 || dot < slash) {
        return name + stamp;
    }
    return name.Left(dot) + stamp + name.Mid(dot);
}

CString CDataSaverFormat::StartBlock(const CLocalTime& start) {
    return Block("%s\n%s\n%s\n\n", "START: ", start);
}

CString CDataSaverFormat::StopBlock(const CLocalTime& stop) {
    return Block("\n%s\n%s\n%s\n\n\n", "STOPP: ", stop);
}

CString CDataSaverFormat::HeaderLine() {
    CString line =
        "Datum\tZeit\tMotor Zustand\tBenzin Ventil Zustand\tGas Ventil Zustand\tDrehzahl (1/min)\t";
    for (int i = 1; i <= CDataSaverSample::kInjectors; ++i) {
        line.AppendFormat("Benzin Einspritz Zeit Ventil %d (ms)\t", i);
    }
    line +=
        "Benzin Einspritz Zeit (ms)\tGas Einspritz Zeit (ms)\tLambda regelt\t"
        "Motor Temperatur (\xB0"
        "C)\tGas Druck (bar)\tMotor Saugrohr (bar)\tLambda\t"
        "Lambda Spannung (V)\tGas Temperatur (\xB0"
        "C)\tGas Korrektur (%)\tOBD Zustand\t"
        "Bank 1 Zustand\tBank 2 Zustand\tKurzzeit Einspritztrimm - Bank 1\t"
        "Langzeit Einspritztrimm - Bank 1\tKurzzeit Einspritztrimm - Bank 2\t"
        "Langzeit Einspritztrimm - Bank 2\t";
    for (int i = 1; i <= CDataSaverSample::kInjectors; ++i) {
        line.AppendFormat("Gas Einspritz Zeit Ventil %d (ms)\t", i);
    }
    line += "Kalibrierwert (%)\tAdaptivwert (%)\tSumme (%)\n";
    return line;
}

CString CDataSaverFormat::Row(const CDataSaverSample& sample, const CLocalTime& written) {
    CString row = TimeText("%04d-%02d-%02d\t%02d:%02d:%02d.%03d\t", written);
    AppendField(row, FuelModeText(sample.fuelMode));
    if ((sample.engineFlags & kCutOffBit) != 0) {
        row += "Schubabschaltung\tSchubabschaltung\t";
    } else {
        AppendField(row, ValveText(sample.engineFlags, kPetrolOpenBit));
        AppendField(row, ValveText(sample.engineFlags, kGasOpenBit));
    }
    row.AppendFormat("%d\t", sample.speed);
    AppendTimes(row, sample.petrolTimes);
    row.AppendFormat("%.02f\t", AverageNonZeroMilli(sample.petrolTimes));
    row.AppendFormat("%.02f\t", AverageNonZeroMilli(sample.gasTimes));
    AppendField(row, sample.lambdaControl == kLambdaControlOn ? "JA" : "NEIN");
    row.AppendFormat("%d\t", sample.engineTemperature);
    row.AppendFormat("%.02f\t", Milli(sample.gasPressure) - 1);
    row.AppendFormat("%.02f\t", Milli(sample.manifoldPressure) - 1);
    row.AppendFormat("%.02f\t", std::clamp(Milli(sample.lambda), kLambdaLow, kLambdaHigh));
    row.AppendFormat("%.02f\t", Milli(sample.lambdaVoltage));
    row.AppendFormat("%d\t%d\t", sample.gasTemperature, sample.gasCorrection);
    const char* link = CObdAdaptationTexts::LinkText(sample.obd[kObdStatusByte] & 0x0F);
    AppendField(row, link != nullptr ? link : "?");
    AppendField(row, CObdAdaptationTexts::FuelSystemTextOnOneLine(sample.obd[kObdBank1Byte]));
    AppendField(row, CObdAdaptationTexts::FuelSystemTextOnOneLine(sample.obd[kObdBank2Byte]));
    row.AppendFormat("%d\t%d\t%d\t%d\t", SignedByte(sample.obd[0]), SignedByte(sample.obd[1]),
                     SignedByte(sample.obd[2]), SignedByte(sample.obd[3]));
    AppendTimes(row, sample.gasTimes);
    const int calibration = SignedByte(sample.obd[kObdCalibrationByte]);
    const int adaptive = SignedByte(sample.obd[kObdAdaptiveByte]);
    row.AppendFormat("%d\t%d\t%d\n", calibration, adaptive, calibration + adaptive);
    return row;
}
