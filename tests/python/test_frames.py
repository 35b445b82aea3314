"""End to end: pushes, builds, labels, scaling and the written frames."""

import csv
import io
import json
import math

import pandas as pd
import pytest

from ostrel_feature_store import FeatureStore


def spec(features, **extra):
    return json.dumps({"universe": ["A"], "features": features, **extra})


def price(field="close"):
    return {"kind": "price", "field": field}


def indicator(name, params=(), field=None):
    f = {"kind": "indicator", "name": name, "params": list(params)}
    if field is not None:
        f["field"] = field
    return f


def candles(closes, start=1):
    return [[start + i, c, c + 1, c - 1, c, 10] for i, c in enumerate(closes)]


def cmd(store, **fields):
    return store.command(json.dumps(fields))


def frame(store, **fields):
    return json.loads(cmd(store, cmd="build", **fields))


def error(call):
    with pytest.raises(ValueError) as info:
        call()
    return str(info.value)


def test_push_then_build_json_and_csv():
    store = FeatureStore(spec([indicator("Sma", [2]), price()]))
    assert cmd(store, cmd="push", symbol="A", candle={"ts": 1, "open": 1, "high": 2, "low": 0.5, "close": 1.5,
                                                      "volume": 10}) == '{"ok":true}'
    assert cmd(store, cmd="push", symbol="A", candle=[2, 1, 3, 0.5, 2.5, 10]) == '{"ok":true}'
    assert cmd(store, cmd="build") == ('{"columns":["Sma(2)","price.close"],"index":[{"symbol":"A","ts":1},'
                                       '{"symbol":"A","ts":2}],"data":[[null,1.5],[2,2.5]],"rows":2}')
    assert cmd(store, cmd="build", format="csv") == "symbol,ts,Sma(2),price.close\nA,1,,1.5\nA,2,2,2.5\n"


def test_symbols_are_built_in_byte_order():
    store = FeatureStore(spec([price()]))
    for symbol in ["B", "A", "a", "AB"]:
        cmd(store, cmd="push", symbol=symbol, candle=[1, 1, 1, 1, 1, 1])
    assert [e["symbol"] for e in frame(store)["index"]] == ["A", "AB", "B", "a"]


def test_failed_commands_change_nothing():
    store = FeatureStore(spec([indicator("Sma", [3]), price()]))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([1, 2, 3, 4]))
    before = cmd(store, cmd="build")
    failures = [
        ({"cmd": "push", "symbol": "A", "candle": [5, 1, 1, 1, 1, 1], "feeds": {"deriv": {"funding_rate": 1}}},
         "parse: missing field `mark_price`"),
        ({"cmd": "push_batch", "symbol": "A", "candles": [[5, 1, 1, 1, 1, 1], [6, 1, 1, 1, 1]]},
         "parse: invalid length 5, expected struct CandleInput with 6 elements"),
        ({"cmd": "push", "candle": [5, 1, 1, 1, 1, 1]}, 'bad spec: missing string field "symbol"'),
        ({"cmd": "set_spec", "spec": {"universe": ["A"], "features": []}}, "bad spec: features is empty"),
        ({"cmd": "set_spec", "spec": {"universe": ["A"], "features": [indicator("Sma", [0])]}},
         "unknown indicator: Sma: invalid parameters for indicator Sma: parameter #0 must be a positive integer, "
         "got 0"),
        ({"cmd": "build", "format": "xml"}, "output: unsupported format over FFI: xml"),
    ]
    for command, expected in failures:
        assert error(lambda: store.command(json.dumps(command))) == expected
        assert cmd(store, cmd="build") == before
    # A batch build reads only its own data.
    cmd(store, cmd="build_batch", data={"Z": candles([1, 2, 3])})
    assert cmd(store, cmd="build") == before


def test_set_spec_keeps_pushed_series_and_reset_drops_them():
    store = FeatureStore(spec([price()]))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([1, 2]))
    assert cmd(store, cmd="set_spec", spec={"universe": ["X"], "features": [price("open"), price("volume")]}) \
        == '{"ok":true}'
    assert frame(store)["columns"] == ["price.open", "price.volume"]
    assert frame(store)["rows"] == 2
    cmd(store, cmd="reset")
    assert frame(store) == {"columns": ["price.open", "price.volume"], "index": [], "data": [], "rows": 0}


def test_output_format_resolution():
    store = FeatureStore(spec([price()], output="arrow"))
    assert error(lambda: cmd(store, cmd="build")) == "output: use CLI/native API for parquet"
    assert cmd(store, cmd="build", format="csv") == "symbol,ts,price.close\n"
    assert cmd(store, cmd="labels") == '{"columns":[],"index":[],"data":[],"rows":0}'
    csv_store = FeatureStore(spec([price()], output={"csv": None}))
    assert cmd(csv_store, cmd="build", format=3) == "symbol,ts,price.close\n"


def test_feed_errors():
    store = FeatureStore(spec([price()]))
    cmd(store, cmd="push", symbol="BTC", candle=[1, 1, 1, 1, 1, 1], feeds={"trades": []})
    cmd(store, cmd="push", symbol="BTC", candle=[2, 1, 1, 1, 1, 1], feeds={"trades": []})
    cmd(store, cmd="push", symbol="BTC", candle=[3, 1, 1, 1, 1, 1])
    assert error(lambda: cmd(store, cmd="build")) == "data: BTC: trades feed length 2 does not match 3 candles"
    batch = {"X": {"candles": candles([1]), "derivs": [{"funding_rate": 0, "mark_price": 0, "index_price": 1,
                                                         "futures_price": 1, "open_interest": 0, "long_size": 0,
                                                         "short_size": 0, "taker_buy_volume": 0,
                                                         "taker_sell_volume": 0, "long_liquidation": 0,
                                                         "short_liquidation": 0}]}}
    assert error(lambda: cmd(store, cmd="build_batch", data=batch)) == (
        "data: X: malformed feed entry: invalid derivatives tick: "
        "mark_price, index_price and futures_price must be finite and positive")
    assert error(lambda: cmd(store, cmd="build_batch", data={"A": {"candles": [[1, 1, 1, 1]]}})) == \
        "parse: data did not match any variant of untagged enum SymbolInputDoc"


def test_warmup_skip_window_and_duplicate_features():
    features = [indicator("Sma", [20]), indicator("Sma", [20]), price()]
    store = FeatureStore(spec(features, warmup="skip"))
    for symbol in ["A", "B"]:
        cmd(store, cmd="push_batch", symbol=symbol, candles=candles(range(1, 31)))
    built = frame(store)
    assert built["columns"] == ["Sma(20)", "Sma(20)", "price.close"]
    assert built["rows"] == 22
    assert built["index"][0] == {"symbol": "A", "ts": 20}
    assert all(row[0] == row[1] for row in built["data"])
    assert built["data"][0] == [10.5, 10.5, 20]

    windowed = FeatureStore(spec(features, warmup="skip", window=3))
    cmd(windowed, cmd="push_batch", symbol="A", candles=candles(range(1, 31)))
    cmd(windowed, cmd="push_batch", symbol="B", candles=candles(range(1, 22)))
    assert [(e["symbol"], e["ts"]) for e in frame(windowed)["index"]] == \
        [("A", 28), ("A", 29), ("A", 30), ("B", 20), ("B", 21)]


def test_unknown_output_field_gives_nan_and_skip_removes_every_row():
    store = FeatureStore(spec([indicator("Sma", [2], field="upper")], warmup="skip"))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([1, 2, 3]))
    assert frame(store) == {"columns": ["Sma(2).upper"], "index": [], "data": [], "rows": 0}


def test_number_text_in_names():
    store = FeatureStore(spec([indicator("Sma", [2.0]), {"kind": "microstructure", "metric": "Sma", "params": [2]}],
                              labels=[{"kind": "triple_barrier", "horizon": 10, "up": 1.0, "down": 0.5}]))
    assert frame(store)["columns"] == ["Sma(2)", "ms.Sma(2)", "tb(10,1,0.5)"]


def test_labels_look_past_skipped_rows_and_ignore_scaling():
    store = FeatureStore(spec([indicator("Sma", [2])], warmup="skip", scaling="z_score",
                              labels=[{"kind": "forward_return", "horizon": 1},
                                      {"kind": "forward_return", "horizon": 1, "log": True}]))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([100, 110, 99]))
    built = frame(store)
    assert built["columns"] == ["Sma(2)", "fwd_return(1)", "fwd_log_return(1)"]
    assert [r[1:] for r in built["data"]] == [[-0.1, round(math.log(99 / 110), 8)], [None, None]]
    labels = json.loads(cmd(store, cmd="labels"))
    assert labels["columns"] == ["fwd_return(1)", "fwd_log_return(1)"]
    assert labels["index"] == built["index"]
    assert labels["data"] == [r[1:] for r in built["data"]]


def test_triple_barrier_and_labels_with_window():
    store = FeatureStore(spec([price()], window=2,
                              labels=[{"kind": "triple_barrier", "horizon": 2, "up": 0.05, "down": 0.05}]))
    rows = [[1, 100, 100, 100, 100, 1], [2, 100, 106, 94, 100, 1], [3, 100, 105, 96, 100, 1],
            [4, 100, 101, 99, 100, 1], [5, 100, 101, 99, 100, 1]]
    cmd(store, cmd="push_batch", symbol="A", candles=rows)
    labels = json.loads(cmd(store, cmd="labels"))
    assert labels == {"columns": ["tb(2,0.05,0.05)"], "index": [{"symbol": "A", "ts": 4}, {"symbol": "A", "ts": 5}],
                      "data": [[None], [None]], "rows": 2}
    store2 = FeatureStore(spec([price()], labels=[{"kind": "triple_barrier", "horizon": 2, "up": 0.05,
                                                   "down": 0.05}]))
    cmd(store2, cmd="push_batch", symbol="A", candles=rows)
    assert [r[1] for r in frame(store2)["data"]] == [-1, 1, 0, None, None]


def test_scaling_pools_symbols():
    store = FeatureStore(spec([price()], scaling="min_max"))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([10, 11, 12]))
    cmd(store, cmd="push_batch", symbol="B", candles=candles([1000, 1010]))
    values = [r[0] for r in frame(store)["data"]]
    assert values[:3] == [0, round(1 / 1000, 8), round(2 / 1000, 8)]
    assert values[-1] == 1


def test_csv_reads_back_like_json():
    # Names with commas and quotes must survive a CSV reader.
    store = FeatureStore(spec([indicator("Sma", [3]), indicator("Sma", [2], field='x"y'), price("volume")]))
    cmd(store, cmd="push_batch", symbol="A,B", candles=candles([1.5, 2.25, 3.125, 4.0625, 5]))
    cmd(store, cmd="push_batch", symbol="C", candles=candles([7, 8, 9]))
    as_json = frame(store)
    text = cmd(store, cmd="build", format="csv")

    rows = list(csv.reader(io.StringIO(text)))
    assert rows[0] == ["symbol", "ts"] + as_json["columns"]
    assert len(rows) == 1 + as_json["rows"]
    for row, entry, values in zip(rows[1:], as_json["index"], as_json["data"]):
        assert row[:2] == [entry["symbol"], str(entry["ts"])]
        assert [float(v) if v else None for v in row[2:]] == values

    df = pd.read_csv(io.StringIO(text))
    assert list(df.columns) == ["symbol", "ts"] + as_json["columns"]
    assert list(df["symbol"]) == [e["symbol"] for e in as_json["index"]]
    for c, name in enumerate(as_json["columns"]):
        got = [None if pd.isna(v) else float(v) for v in df.iloc[:, 2 + c]]
        assert got == [row[c] for row in as_json["data"]]


def test_features_with_equal_keys_share_one_indicator():
    store = FeatureStore(spec([indicator("BollingerBands", [3, 2]), indicator("BollingerBands", [3, 2], field="lower"),
                               indicator("BollingerBands", [3, 2], field="stddev"),
                               {"kind": "microstructure", "metric": "BollingerBands", "params": [3, 2]}]))
    cmd(store, cmd="push_batch", symbol="A", candles=candles([1, 2, 3, 5]))
    built = frame(store)
    assert built["columns"] == ["BollingerBands(3,2)", "BollingerBands(3,2).lower", "BollingerBands(3,2).stddev",
                                "ms.BollingerBands(3,2)"]
    assert built["data"][:2] == [[None] * 4, [None] * 4]
    upper, lower, sd, ms = built["data"][2]
    assert sd == pytest.approx(math.sqrt(2 / 3), abs=1e-8)
    assert upper == pytest.approx(2 + 2 * math.sqrt(2 / 3), abs=1e-8)
    assert ms == upper
    assert lower == pytest.approx(2 - 2 * math.sqrt(2 / 3), abs=1e-8)


def tick(rate):
    return {"funding_rate": rate, "mark_price": 100, "index_price": 100, "futures_price": 101,
            "open_interest": 5, "long_size": 1, "short_size": 1, "taker_buy_volume": 1,
            "taker_sell_volume": 1, "long_liquidation": 0, "short_liquidation": 0}


def test_step_feeds_reach_their_indicators():
    store = FeatureStore(spec([indicator("FundingRate"), indicator("Microprice"), indicator("SignedVolume"),
                               indicator("AdvanceDecline"), indicator("EstimatedLeverageRatio"),
                               {"kind": "microstructure", "metric": "QuotedSpread"}]))
    book = {"bids": [{"price": 99, "size": 3}], "asks": [[101, 1]]}
    section = {"members": [{"change": 1, "volume": 1}, {"change": -1, "volume": 1}, {"change": 2, "volume": 1}]}
    steps = [
        {"reference": 50, "deriv": tick(0.001), "orderbook": book,
         "trades": [{"price": 100, "size": 1, "side": "buy"}, {"price": 100, "size": 2, "side": "sell"}],
         "cross_section": section},
        {"reference": 40, "deriv": tick(-0.002), "orderbook": book, "trades": [], "cross_section": section},
    ]
    for ts, feeds in enumerate(steps, start=1):
        cmd(store, cmd="push", symbol="A", candle=[ts, 100, 100, 100, 100, 1], feeds=feeds)
    assert frame(store)["data"] == [[0.001, 100.5, -2, 1, 2, 200], [-0.002, 100.5, None, 2, 2.5, 200]]

    # The same series through a batch, and a symbol whose feeds are missing.
    series = {"candles": [[1, 100, 100, 100, 100, 1], [2, 100, 100, 100, 100, 1]],
              "reference": [[1, 50, 50, 50, 50, 0], [2, 40, 40, 40, 40, 0]],
              "derivs": [tick(0.001), tick(-0.002)], "books": [book, book],
              "trades": [steps[0]["trades"], []], "sections": [section, section]}
    assert json.loads(cmd(store, cmd="build_batch", data={"A": series}))["data"] == frame(store)["data"]
    assert error(lambda: cmd(store, cmd="build_batch", data={"A": series, "B": [[1, 1, 1, 1, 1, 1]]})) == \
        "FundingRate needs the derivs feed, which this build does not supply"
