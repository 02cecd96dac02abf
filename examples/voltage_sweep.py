#!/usr/bin/env python3
"""A voltage sweep through the ORX panel's remote socket.

The panel keeps the instrument's port and goes on monitoring; this script reaches the instrument
through the panel (View > Remote access..., or orx-panel --remote-port 5025). For each voltage of
the sweep it sets the voltage, waits for the output to settle, reads the measured volts and amperes
and writes them as one row of a CSV file. At the end it switches the output off.

    python3 examples/voltage_sweep.py --start 1 --stop 5 --steps 5 --out sweep.csv

Needs PyVISA with its pure-Python backend (Debian: python3-pyvisa python3-pyvisa-py).
"""

import argparse
import csv
import sys
import time

import pyvisa


def sweep_voltages(start, stop, steps):
    if steps < 2:
        return [start]
    return [start + (stop - start) * i / (steps - 1) for i in range(steps)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--resource", default="TCPIP::127.0.0.1::5025::SOCKET",
                        help="the panel's resource string (shown in its Remote access window)")
    parser.add_argument("--start", type=float, default=1.0, help="first voltage (V)")
    parser.add_argument("--stop", type=float, default=5.0, help="last voltage (V)")
    parser.add_argument("--steps", type=int, default=5, help="number of voltages")
    parser.add_argument("--current", type=float, default=1.0, help="current limit (A)")
    parser.add_argument("--settle", type=float, default=0.3, help="wait after each voltage (s)")
    parser.add_argument("--out", default="sweep.csv", help="the CSV file to write")
    args = parser.parse_args()

    manager = pyvisa.ResourceManager("@py")
    instrument = manager.open_resource(args.resource, read_termination="\n", write_termination="\n",
                                       timeout=5000)
    try:
        identity = instrument.query("*IDN?").strip()
        if not identity.startswith("QZ.Inc,ORX"):
            sys.exit(f"not an ORX instrument: {identity!r}")
        print(f"Sweeping {identity}")
        instrument.write(f":CURR {args.current:.3f}")
        instrument.write(":OUTP:STAT 1")
        with open(args.out, "w", newline="") as out:
            rows = csv.writer(out)
            rows.writerow(["set_V", "measured_V", "measured_A"])
            for volts in sweep_voltages(args.start, args.stop, args.steps):
                instrument.write(f":VOLT {volts:.3f}")
                time.sleep(args.settle)
                measured_v = float(instrument.query(":MEAS?"))
                measured_a = float(instrument.query(":MEAS:CURR?"))
                rows.writerow([f"{volts:.3f}", f"{measured_v:.3f}", f"{measured_a:.3f}"])
                print(f"{volts:7.3f} V set: {measured_v:7.3f} V, {measured_a:7.3f} A")
        instrument.write(":OUTP:STAT 0")
    finally:
        instrument.close()


if __name__ == "__main__":
    main()
