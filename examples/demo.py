"""Builds a feature frame from candles in a CSV file (ts,open,high,low,close,volume).

    python examples/demo.py data/sample_candles.csv [--format json|csv]
"""

import argparse
import csv
import json

from ostrel_feature_store import FeatureStore

SPEC = {
    "universe": ["DEMO"],
    "features": [
        {"kind": "price", "field": "close"},
        {"kind": "indicator", "name": "Sma", "params": [10]},
        {"kind": "indicator", "name": "Ema", "params": [10]},
        {"kind": "indicator", "name": "Kama", "params": [10, 2, 30]},
        {"kind": "indicator", "name": "MedianMa", "params": [5]},
        {"kind": "indicator", "name": "Vwap"},
        {"kind": "indicator", "name": "Rsi", "params": [14]},
        {"kind": "indicator", "name": "BollingerBands", "params": [20, 2], "field": "lower"},
        {"kind": "indicator", "name": "MacdIndicator", "params": [12, 26, 9], "field": "histogram"},
        {"kind": "indicator", "name": "Atr", "params": [14]},
    ],
    "labels": [
        {"kind": "forward_return", "horizon": 5},
        {"kind": "triple_barrier", "horizon": 10, "up": 0.02, "down": 0.02},
    ],
    "warmup": "skip",
}


def read_candles(path):
    with open(path, newline="") as f:
        return [[int(r["ts"]), float(r["open"]), float(r["high"]), float(r["low"]), float(r["close"]),
                 float(r["volume"])] for r in csv.DictReader(f)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("candles")
    parser.add_argument("--format", choices=["json", "csv"], default="csv")
    args = parser.parse_args()

    store = FeatureStore(json.dumps(SPEC))
    store.command(json.dumps({"cmd": "push_batch", "symbol": "DEMO", "candles": read_candles(args.candles)}))
    print(store.command(json.dumps({"cmd": "build", "format": args.format})), end="")


if __name__ == "__main__":
    main()
