// CPU time and wake-ups of a process tree, read from /proc, for the
// benchmarks and tests that measure a browser with all its processes.
import { readFileSync, readdirSync } from 'node:fs';

// Clock ticks a second in /proc's figures (USER_HZ on Linux).
export const kTicksPerSecond = 100;

// The process `rootPid` and all its descendants.
function tree(rootPid) {
  const children = new Map();
  for (const pid of readdirSync('/proc').filter((n) => /^[0-9]+$/.test(n))) {
    try {
      const stat = readFileSync('/proc/' + pid + '/stat', 'utf8');
      const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      if (!children.has(parent)) children.set(parent, []);
      children.get(parent).push(Number(pid));
    } catch { /* the process has gone */ }
  }
  const pids = [];
  const stack = [rootPid];
  while (stack.length) {
    const pid = stack.pop();
    pids.push(pid);
    stack.push(...(children.get(pid) || []));
  }
  return pids;
}

// CPU time (user + system, in clock ticks) of a process and all its descendants.
export function treeTicks(rootPid) {
  let total = 0;
  for (const pid of tree(rootPid)) {
    try {
      const stat = readFileSync('/proc/' + pid + '/stat', 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      total += Number(fields[11]) + Number(fields[12]);
    } catch { /* the process has gone */ }
  }
  return total;
}

// How often the threads of a process and all its descendants have gone to
// sleep and been woken since they started (their voluntary context
// switches); only the threads named `name` when it is given (as the system
// knows them: at most 15 characters).
export function treeWakeUps(rootPid, name = null) {
  let total = 0;
  for (const pid of tree(rootPid)) {
    let threads = [];
    try {
      threads = readdirSync('/proc/' + pid + '/task');
    } catch { /* the process has gone */ }
    for (const tid of threads) {
      try {
        const task = '/proc/' + pid + '/task/' + tid + '/';
        if (name !== null && readFileSync(task + 'comm', 'utf8').trim() !== name) continue;
        const status = readFileSync(task + 'status', 'utf8');
        const switches = /^voluntary_ctxt_switches:\s*([0-9]+)/m.exec(status);
        if (switches) total += Number(switches[1]);
      } catch { /* the thread has gone */ }
    }
  }
  return total;
}
