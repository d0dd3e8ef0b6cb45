#pragma once

#include "PortNames.h"
#include "SerialDevices.h"

#include <QList>
#include <QTextStream>

// What `qx410ctl ports` prints: the four port names with the device each
// maps to and why (the environment variable, the port bindings file, or the
// default), then the serial devices the system has.
//
//   COM1 /dev/ttyS0 (default)
//   COM2 /dev/ttyUSB7 (variable QX410_COM2)
//   COM3 /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (file Qx410.ports)
//   COM4 /dev/ttyS3 (default)
//   Serial devices:
//     /dev/ttyUSB0 = /dev/serial/by-id/usb-FTDI_...-port0, FT232R USB UART, FTDI, serial A50285BI
//
// With --json, one object per line: {"com":"COM1","device":...,"source":...}
// for each port, then {"systemLocation":...,"byId":...,"description":...,
// "manufacturer":...,"serialNumber":...} for each device.
class PortsReport
{
public:
    static void print(QTextStream& out, bool json, const PortNames::Bindings& bindings,
                      const QList<SerialDeviceInfo>& devices);
};
