# 200,000 clicks on Start at one time, once a crash even without sanitizers.
string(REPEAT "at 1100 click 0\n" 200000 clicks)
file(WRITE ${OUT} "seed 1\n${clicks}run 1200\ndump\n")
