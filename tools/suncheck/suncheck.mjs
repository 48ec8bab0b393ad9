// Compares tidedump's sun times and moon phases with astronomy-engine.
//
//   node suncheck.mjs [PATH-TO-TIDEDUMP]      (or TIDEDUMP=... node suncheck.mjs)
//
// Sun: positions between 60 S and 60 N at several longitudes, every 5th day of 2025, zone 0.
// tidedump gives clock hours (UT, as the zone is 0) of the events of the local day; each is
// matched with the reference event of the same kind nearest to it, searched around that local
// day (local mean midnight = 00:00 UT less longitude / 15 h), so events that fall on the day
// before or after in UT at far east or west longitudes match as they should.
// Moon: the four phases of each month of 2024 to 2026 against SearchMoonQuarter.

import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import * as Astronomy from 'astronomy-engine';

const here = path.dirname(fileURLToPath(import.meta.url));
const tidedump = process.argv[2] ?? process.env.TIDEDUMP ?? path.resolve(here, '../../build/tools/tidedump');

const LATITUDES = [-60, -50, -40, -30, -20, -10, 0, 10, 20, 30, 40, 50, 55, 60];
const LONGITUDES = [-179.5, -120, -73.9, 0, 11.4, 77.2, 139.7, 179.5];
const YEAR = 2025;
const DAY_STEP = 5;

const EVENTS = [
    // name, direction (+1 rising, -1 setting), altitude (null: rise/set with refraction)
    ['AstroDawn', +1, -18], ['NauticalDawn', +1, -12], ['CivilDawn', +1, -6], ['Sunrise', +1, null],
    ['Sunset', -1, null], ['CivilDusk', -1, -6], ['NauticalDusk', -1, -12], ['AstroDusk', -1, -18],
];

function run(args) {
    return execFileSync(tidedump, args, { encoding: 'utf8' });
}

function parseCsv(text) {
    const lines = text.trim().split('\n').slice(1);
    return lines.map((l) => {
        const i = l.indexOf(',');
        return [l.slice(0, i), l.slice(i + 1)];
    });
}

// All reference events of one kind between two times.
function referenceEvents(observer, direction, altitude, start, days) {
    const found = [];
    let t = Astronomy.MakeTime(start);
    const end = t.AddDays(days);
    for (;;) {
        const limit = end.ut - t.ut;
        if (limit <= 0) break;
        const e = altitude === null
            ? Astronomy.SearchRiseSet(Astronomy.Body.Sun, observer, direction, t, limit)
            : Astronomy.SearchAltitude(Astronomy.Body.Sun, observer, direction, t, limit, altitude);
        if (!e) break;
        found.push(e.date);
        t = e.AddDays(0.01);
    }
    return found;
}

function percentile(values, p) {
    if (values.length === 0) return NaN;
    const s = [...values].sort((a, b) => a - b);
    return s[Math.min(s.length - 1, Math.ceil((p / 100) * s.length) - 1)];
}

function fmt(x) {
    return Number.isNaN(x) ? '   -' : x.toFixed(2).padStart(7);
}

function checkSun() {
    const stats = Object.fromEntries(EVENTS.map(([n]) => [n, { diffs: [], worst: null, onlyOurs: 0, onlyRef: 0 }]));
    for (const lat of LATITUDES) {
        for (const lon of LONGITUDES) {
            const observer = new Astronomy.Observer(lat, lon, 0);
            for (let doy = 1; doy <= 365; doy += DAY_STEP) {
                const day = new Date(Date.UTC(YEAR, 0, doy));
                const iso = day.toISOString().slice(0, 10);
                const ours = parseCsv(run(['sun', String(lat), String(lon), iso, '0']));
                const localMidnight = new Date(day.getTime() - (lon / 15) * 3600e3);
                for (const [k, [name, direction, altitude]] of EVENTS.entries()) {
                    const [hoursText, occursText] = ours[k][1].split(',');
                    const occurs = occursText === '1';
                    // Events of the local day, and a margin either side for the matching.
                    const inDay = referenceEvents(observer, direction, altitude, localMidnight, 1);
                    const near = referenceEvents(observer, direction, altitude,
                        new Date(localMidnight.getTime() - 6 * 3600e3), 1.5);
                    const st = stats[name];
                    if (!occurs) {
                        if (inDay.length > 0) st.onlyRef++;
                        continue;
                    }
                    if (near.length === 0) {
                        st.onlyOurs++;
                        continue;
                    }
                    const hours = Number(hoursText);
                    let best = null;
                    for (const e of near) {
                        const refHours = (e.getTime() - day.getTime()) / 3600e3;
                        const d = ((((hours - refHours) % 24) + 36) % 24) - 12;  // circular, hours
                        if (best === null || Math.abs(d) < Math.abs(best)) best = d;
                    }
                    const minutes = Math.abs(best) * 60;
                    st.diffs.push(minutes);
                    if (!st.worst || minutes > st.worst.minutes) st.worst = { minutes, lat, lon, iso };
                }
            }
        }
    }
    console.log(`Sun, ${LATITUDES.length} latitudes x ${LONGITUDES.length} longitudes, every ${DAY_STEP}th day of ${YEAR}, zone 0`);
    console.log('event          count   max min  p95 min  only reference / only ours  worst at');
    for (const [name] of EVENTS) {
        const st = stats[name];
        const w = st.worst ? `${st.worst.lat},${st.worst.lon} ${st.worst.iso}` : '';
        console.log(`${name.padEnd(13)} ${String(st.diffs.length).padStart(6)}  ${fmt(Math.max(...st.diffs))}  ` +
            `${fmt(percentile(st.diffs, 95))}  ${String(st.onlyRef).padStart(14)} / ${String(st.onlyOurs).padEnd(9)}  ${w}`);
    }
    return stats;
}

const QUARTERS = { 'NEW MOON': 0, 'FIRST QUARTER': 1, 'FULL MOON': 2, 'LAST QUARTER': 3 };
const MONTHS = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec'];

function checkMoon() {
    const diffs = [];
    let worst = null;
    let labelFaults = 0;
    let orderFaults = 0;
    for (let year = 2024; year <= 2026; year++) {
        for (let month = 1; month <= 12; month++) {
            const rows = parseCsv(run(['moon', String(year), String(month)]));
            let previous = -Infinity;
            for (const [jdText, quoted] of rows) {
                const jd = Number(jdText);
                const line = quoted.slice(1, -1);
                if (jd <= previous) orderFaults++;
                previous = jd;
                const quarter = QUARTERS[line.slice(14).trim()];
                // Our JD is an ephemeris day (TT); compare with the reference's TT.
                const tt = jd - 2451545.0;
                let mq = Astronomy.SearchMoonQuarter(Astronomy.MakeTime(new Date(Date.UTC(2000, 0, 1, 12) + (tt - 3) * 86400e3)));
                while (mq.quarter !== quarter) mq = Astronomy.NextMoonQuarter(mq);
                const minutes = Math.abs(tt - mq.time.tt) * 1440;
                diffs.push(minutes);
                if (!worst || minutes > worst.minutes) worst = { minutes, line };
                const d = mq.time.date;
                const label = `${String(d.getUTCDate()).padStart(2, '0')} ${MONTHS[d.getUTCMonth()]} ${d.getUTCFullYear()}`;
                if (line.slice(3, 14) !== label) {
                    labelFaults++;
                    console.log(`  label ${line.slice(3, 14)} vs reference ${label} (${line.trim()})`);
                }
            }
        }
    }
    console.log(`Moon phases 2024-2026: ${diffs.length} phases, max ${diffs.length ? Math.max(...diffs).toFixed(2) : '-'} min, ` +
        `p95 ${percentile(diffs, 95).toFixed(2)} min (worst: ${worst?.line.trim()}); ` +
        `dates differing from the reference UT date: ${labelFaults}; lines out of date order: ${orderFaults}`);
}

checkSun();
checkMoon();
