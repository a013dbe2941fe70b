[Input-boxes]
{Txt=Mode,Fast,Slow; Name=m; Type=DDL; Pos=10,10; Size=5}
[Radio-buttons]
{Set=m,x}
[Buttons]
{Txt=OK; Type=OK; Pos=C50%,5; Size=80}
