# 20,000 clicks on Start at one time, once enough to overflow the stack with
# nested game loops.
string(REPEAT "at 1100 click 0\n" 20000 clicks)
file(WRITE ${OUT} "seed 1\n${clicks}run 1200\ndump\n")
